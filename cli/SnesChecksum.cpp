#include "cli/SnesChecksum.h"

#include <span>

#include "cli/HexCrc.h"
#include "cli/ImageFile.h"
#include "cli/Printable.h"

namespace Cli {

namespace {

using Verdict = ChecksumCheck::Verdict;

std::string WhyNotChecked(const ChecksumCheck& check) {
  switch (check.Result) {
    case Verdict::NotHiRom:
      return std::string("the map-mode byte at ROM ") + Hex(InternalHeader::MapMode) + " reads " +
             Hex(check.MapMode, 2) + ", not HiROM (" + Hex(InternalHeader::HiRomMapMode, 2) + " or " +
             Hex(InternalHeader::FastHiRomMapMode, 2) + ")";
    case Verdict::OddHeader:
      return std::string("a header of ") + std::to_string(check.HeaderSize) + " bytes is not a 512-byte copier header";
    case Verdict::TooShort:
      return std::string("the image ends before its internal header at ROM ") + Hex(InternalHeader::Block);
    case Verdict::Good:
    case Verdict::Stale: break;
  }
  return "";
}

}  // namespace

ChecksumCheck InspectChecksum(const CRomImage& rom) { return InternalHeader::Inspect(ImageBytes(rom), rom.HeaderSize); }

std::string ChecksumPair(std::uint16_t checksum, std::uint16_t complement) {
  return Hex(checksum, 4) + " (complement " + Hex(complement, 4) + ")";
}

std::string ChecksumText(const ChecksumCheck& check) {
  if (check.Result == Verdict::Good) return ChecksumPair(check.Stored, check.StoredComplement) + ": good";
  if (check.Result == Verdict::Stale)
    return std::string("stale: stored ") + ChecksumPair(check.Stored, check.StoredComplement) + ", the bytes give " +
           ChecksumPair(check.Computed, InternalHeader::ComplementOf(check.Computed));
  return std::string("not checked: ") + WhyNotChecked(check);
}

bool FixChecksum(CRomImage& rom, const std::string& shown, std::string* error) {
  const ChecksumCheck check = InspectChecksum(rom);
  if (!check.Checked()) {
    *error = std::string("the checksum of ") + Printable(shown) + " cannot be fixed: " + WhyNotChecked(check);
    return false;
  }
  const std::span<std::uint8_t> image(rom.Buffer.get() + rom.HeaderSize, static_cast<std::size_t>(check.ImageSize));
  InternalHeader::Store(image, check.Computed);
  return true;
}

}  // namespace Cli
