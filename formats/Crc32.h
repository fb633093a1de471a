#pragma once
// CRC-32 as zlib computes it (reflected polynomial 0xEDB88320): the sums in BPS patches, the
// checksum command's lines, and the fingerprint that tells whether a file changed since Load.
// One implementation for every build: the page has no zlib, and a sum that differed by build
// would make a file look changed.

#include <cstdint>
#include <span>

namespace Formats {

// crc continues an earlier sum: Crc32(b, Crc32(a)) is the sum of a followed by b.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

}  // namespace Formats
