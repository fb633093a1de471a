#include "cli/SnesChecksum.h"

#include <span>

#include "cli/CommandSupport.h"
#include "cli/ImageFile.h"
#include "rom/InternalHeader.h"

namespace Cli {

namespace {

std::string WhyNotChecked(const ChecksumState& state) {
  switch (state.Result) {
    case ChecksumState::Verdict::NotHiRom:
      return std::string("the map-mode byte at ROM ") + Hex(InternalHeader::MapMode) + " reads " +
             Hex(state.MapMode, 2) + ", not HiROM (" + Hex(InternalHeader::HiRomMapMode, 2) + " or " +
             Hex(InternalHeader::FastHiRomMapMode, 2) + ")";
    case ChecksumState::Verdict::OddHeader:
      return std::string("a header of ") + std::to_string(state.HeaderSize) + " bytes is not a 512-byte copier header";
    case ChecksumState::Verdict::TooShort:
      return std::string("the image ends before its internal header at ROM ") + Hex(InternalHeader::Block);
    case ChecksumState::Verdict::Good:
    case ChecksumState::Verdict::Stale:
      break;
  }
  return "";
}

std::string Pair(std::uint16_t checksum, std::uint16_t complement) {
  return Hex(checksum, 4) + " (complement " + Hex(complement, 4) + ")";
}

}  // namespace

ChecksumState InspectChecksum(const CRomImage& rom) {
  ChecksumState state;
  state.HeaderSize = rom.HeaderSize;
  if (rom.HeaderSize != 0 && rom.HeaderSize != CopierHeaderSize) {
    state.Result = ChecksumState::Verdict::OddHeader;
    return state;
  }
  const std::span<const std::uint8_t> image = ImageBytes(rom);
  state.ImageSize = image.size();
  if (image.size() < InternalHeader::BlockEnd) return state;  // TooShort
  state.MapMode = image[InternalHeader::MapMode];
  if (!InternalHeader::IsHiRom(state.MapMode)) {
    state.Result = ChecksumState::Verdict::NotHiRom;
    return state;
  }
  state.Stored = InternalHeader::StoredChecksum(image);
  state.StoredComplement = InternalHeader::StoredComplement(image);
  state.Computed = InternalHeader::Compute(image);
  const bool good = state.Stored == state.Computed && state.StoredComplement == (state.Computed ^ 0xFFFF);
  state.Result = good ? ChecksumState::Verdict::Good : ChecksumState::Verdict::Stale;
  return state;
}

std::string ChecksumText(const ChecksumState& state) {
  if (state.Result == ChecksumState::Verdict::Good) return Pair(state.Stored, state.StoredComplement) + ": good";
  if (state.Result == ChecksumState::Verdict::Stale)
    return std::string("stale: stored ") + Pair(state.Stored, state.StoredComplement) + ", the bytes give " +
           Pair(state.Computed, static_cast<std::uint16_t>(state.Computed ^ 0xFFFF));
  return std::string("not checked: ") + WhyNotChecked(state);
}

bool FixChecksum(CRomImage& rom, const std::string& shown, std::string* error) {
  const ChecksumState state = InspectChecksum(rom);
  if (!state.Checked()) {
    *error = std::string("the checksum of ") + shown + " cannot be fixed: " + WhyNotChecked(state);
    return false;
  }
  const std::span<std::uint8_t> image(rom.Buffer.get() + rom.HeaderSize, static_cast<std::size_t>(state.ImageSize));
  InternalHeader::Store(image, state.Computed);
  return true;
}

}  // namespace Cli
