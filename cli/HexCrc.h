#pragma once
// Hex for people and CRC-32 for patches and sums. Nothing here knows an image, so the patch
// encoders stand alone.

#include <cstdint>
#include <span>
#include <string>

namespace Cli {

std::string Hex(std::uint64_t value, int digits = 0);  // "0x1F", zero-padded to digits

// zlib's CRC-32, over any length.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

}  // namespace Cli
