#include "rom/SavePatch.h"

#include <algorithm>

SavePatch SavePatch::Of(std::span<const std::uint8_t> disk, const CRomImage& rom) {
  SavePatch patch;
  if (!rom.HoldsImage() || disk.size() != rom.BufferSize) {
    patch.Refused = Problem::NotTheLoadedFile;
    return patch;
  }
  if (!RomLayout::HeaderLeftOut(rom.HeaderSize)) {
    patch.Refused = Problem::HeaderNotLeftOut;
    return patch;
  }
  const auto header = static_cast<std::size_t>(rom.HeaderSize);
  const std::span<const std::uint8_t> source = disk.subspan(header);
  std::vector<std::uint8_t> target(source.begin(), source.end());
  std::copy(rom.Buffer.get() + header, rom.Buffer.get() + rom.GetImageLength(), target.begin());
  if (std::equal(source.begin(), source.end(), target.begin())) {
    patch.Refused = Problem::NoChange;
    return patch;
  }
  patch.Source = source;
  patch.Target = std::move(target);
  return patch;
}
