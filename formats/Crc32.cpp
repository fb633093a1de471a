#include "formats/Crc32.h"

#include <array>

namespace Formats {
namespace {

// Slicing by eight: table[k][n] is the sum of byte n followed by k zero bytes, so eight bytes
// take eight lookups and no loop-carried shift per byte (a Load sums the whole file).
using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

Tables MakeTables() {
  Tables tables{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    tables[0][n] = c;
  }
  for (std::uint32_t n = 0; n < 256; ++n)
    for (std::size_t k = 1; k < 8; ++k) tables[k][n] = (tables[k - 1][n] >> 8) ^ tables[0][tables[k - 1][n] & 0xFF];
  return tables;
}

std::uint32_t LittleEndian32(const std::uint8_t* bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
  static const Tables table = MakeTables();
  crc = ~crc;
  const std::uint8_t* at = bytes.data();
  std::size_t left = bytes.size();
  for (; left >= 8; left -= 8, at += 8) {
    const std::uint32_t low = LittleEndian32(at) ^ crc;
    const std::uint32_t high = LittleEndian32(at + 4);
    crc = table[7][low & 0xFF] ^ table[6][(low >> 8) & 0xFF] ^ table[5][(low >> 16) & 0xFF] ^ table[4][low >> 24] ^
          table[3][high & 0xFF] ^ table[2][(high >> 8) & 0xFF] ^ table[1][(high >> 16) & 0xFF] ^ table[0][high >> 24];
  }
  for (; left > 0; --left, ++at) crc = table[0][(crc ^ *at) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

}  // namespace Formats
