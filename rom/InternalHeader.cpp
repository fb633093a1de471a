#include "rom/InternalHeader.h"

#include <bit>
#include <numeric>

namespace InternalHeader {

namespace {

// Sums wrap modulo 2^32, which keeps them right modulo 2^16.
std::uint32_t Sum(std::span<const std::uint8_t> bytes) {
  return std::accumulate(bytes.begin(), bytes.end(), std::uint32_t{0});
}

// bytes as the console sees them mirrored up to the next power of two of their size.
std::uint32_t MirroredSum(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return 0;
  const std::size_t head = std::bit_floor(bytes.size());
  const std::span<const std::uint8_t> rest = bytes.subspan(head);
  if (rest.empty()) return Sum(bytes);
  std::uint32_t restSum = MirroredSum(rest);
  for (std::size_t filled = std::bit_ceil(rest.size()); filled < head; filled *= 2) restSum *= 2;
  return Sum(bytes.first(head)) + restSum;
}

std::uint16_t Word(std::span<const std::uint8_t> rom, std::size_t at) {
  return static_cast<std::uint16_t>(rom[at] | rom[at + 1] << 8);
}

}  // namespace

std::uint16_t Compute(std::span<const std::uint8_t> rom) {
  // The header lies in the first power of two of the image, which is counted once: take the
  // four stored bytes out and count FF FF 00 00 in their place.
  std::uint32_t sum = MirroredSum(rom);
  for (std::size_t at = ChecksumComplement; at < Checksum + 2; ++at) sum -= rom[at];
  return static_cast<std::uint16_t>(sum + 0xFF + 0xFF);
}

std::uint16_t StoredChecksum(std::span<const std::uint8_t> rom) { return Word(rom, Checksum); }
std::uint16_t StoredComplement(std::span<const std::uint8_t> rom) { return Word(rom, ChecksumComplement); }

void Store(std::span<std::uint8_t> rom, std::uint16_t checksum) {
  const std::uint16_t complement = ComplementOf(checksum);
  rom[ChecksumComplement] = static_cast<std::uint8_t>(complement & 0xFF);
  rom[ChecksumComplement + 1] = static_cast<std::uint8_t>(complement >> 8);
  rom[Checksum] = static_cast<std::uint8_t>(checksum & 0xFF);
  rom[Checksum + 1] = static_cast<std::uint8_t>(checksum >> 8);
}

ChecksumCheck Inspect(std::span<const std::uint8_t> image, int headerSize) {
  ChecksumCheck check;
  check.HeaderSize = headerSize;
  if (!RomLayout::HeaderLeftOut(headerSize)) {
    check.Result = ChecksumCheck::Verdict::OddHeader;
    return check;
  }
  check.ImageSize = image.size();
  if (image.size() < BlockEnd) return check;  // TooShort
  check.MapMode = image[MapMode];
  if (!IsHiRom(check.MapMode)) {
    check.Result = ChecksumCheck::Verdict::NotHiRom;
    return check;
  }
  check.Stored = StoredChecksum(image);
  check.StoredComplement = StoredComplement(image);
  check.Computed = Compute(image);
  const bool good = check.Stored == check.Computed && check.StoredComplement == ComplementOf(check.Computed);
  check.Result = good ? ChecksumCheck::Verdict::Good : ChecksumCheck::Verdict::Stale;
  return check;
}

}  // namespace InternalHeader
