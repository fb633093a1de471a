#include "cli/HexCrc.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>

namespace Cli {

std::string Hex(std::uint64_t value, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
  return text;
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  while (!bytes.empty()) {  // zlib takes 32-bit lengths
    const std::size_t part = std::min<std::size_t>(bytes.size(), 1u << 30);
    crc = crc32(crc, bytes.data(), static_cast<uInt>(part));
    bytes = bytes.subspan(part);
  }
  return static_cast<std::uint32_t>(crc);
}

}  // namespace Cli
