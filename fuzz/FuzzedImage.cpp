#include "FuzzedImage.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <algorithm>
#include <vector>

#include "framework/headless/HeadlessUser.h"
#include "rom/RomLayout.h"
#include "tools/SampleImage.h"
#include "ui/CEditorDlg.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes& Base() {
  static const Bytes base = SampleImage::Make({});
  return base;
}

// Stretches the input may overwrite, as ROM offsets and lengths.
struct Region {
  std::uint64_t Offset;
  std::size_t Length;
};
constexpr Region Regions[] = {
    {RomLayout::RecordSizeProbeA, 1},
    {RomLayout::RecordSizeProbeB, 1},
    {RomLayout::EsperDataBlock, 27 * 32},
    {RomLayout::BonusNameBlock, RomLayout::BonusNameCount * RomLayout::BonusNameWidth},
    {RomLayout::SpellNameBlock, RomLayout::ImageEnd - RomLayout::SpellNameBlock},
    {RomLayout::FontBlock, RomLayout::FontBlockLength},
    {RomLayout::PaletteBlock, RomLayout::PaletteBlockLength},
    {RomLayout::SixSlotPatch[0].Offset, 0x3F200 - RomLayout::SixSlotPatch[0].Offset},
};

std::string PathForThisProcess() {
  const char* folder = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
  return std::string(folder) + "/tavero-fuzz-" + std::to_string(::getpid()) + ".smc";
}

}  // namespace

std::string WriteFuzzedImage(FuzzedDataProvider& input) {
  // Lengths around the edges that matter: too short, just long enough, odd headers, large.
  static constexpr std::size_t Lengths[] = {0, 1, 0x26F7B9, 0x26FFFF, 0x270000, 0x2F0000, 0x300000, 0x7FFFFF, 0x800000};
  std::size_t length = input.PickValueInArray(Lengths);
  if (input.ConsumeBool()) length += input.ConsumeIntegralInRange<std::size_t>(0, 0x1FFFF);
  const std::size_t header = SampleImage::HeaderSizeFor(length);

  static Bytes bytes;  // kept between runs: a fresh few megabytes each time cost more than the run
  bytes.assign(length, 0xA5);
  const Bytes& base = Base();
  if (header < length)
    std::copy_n(base.begin(), std::min(base.size(), length - header),
                bytes.begin() + static_cast<std::ptrdiff_t>(header));

  while (input.remaining_bytes() > 0 && input.ConsumeBool()) {
    const Region& region = input.PickValueInArray(Regions);
    std::size_t at = header + region.Offset + input.ConsumeIntegralInRange<std::size_t>(0, region.Length - 1);
    Bytes run = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(1, 64));
    for (std::uint8_t byte : run)
      if (at < length) bytes[at++] = byte;
  }

  static const std::string path = PathForThisProcess();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return path;
}

CEditorDlg& FuzzedEditor() {
  static CEditorDlg* editor = [] {
    std::string error;
    if (!Headless::LoadResourceScript(TAVERO_SOURCE_DIR "/res/TAVERO.rc", TAVERO_SOURCE_DIR "/res/resource.h",
                                      &error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      std::abort();
    }
    auto* dialog = new CEditorDlg;
    Headless::Open(*dialog);
    std::atexit([] { std::filesystem::remove(PathForThisProcess()); });
    return dialog;
  }();
  return *editor;
}
