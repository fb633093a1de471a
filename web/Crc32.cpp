// CRC-32 for the page's patches. The desktop builds take zlib's; no zlib is built for the
// browser here (Emscripten's would be downloaded), and the sum is a table of 256 entries: the
// reflected polynomial 0xEDB88320, as zlib computes it. The native tests hold zlib's to the
// same values.

#include <array>

#include "cli/HexCrc.h"

namespace Cli {

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> entries{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entries[n] = c;
    }
    return entries;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::uint8_t byte : bytes) crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

}  // namespace Cli
