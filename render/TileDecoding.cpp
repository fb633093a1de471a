#include "render/TileDecoding.h"

TilePixels DecodeTile(const std::array<std::uint8_t, 16>& tile) {
  TilePixels pixels{};
  for (int row = 0; row < 8; ++row) {
    const std::uint8_t plane0 = tile[2 * row], plane1 = tile[2 * row + 1];
    for (int x = 0; x < 8; ++x) {
      const int bit = 7 - x;
      pixels[row][x] = static_cast<std::uint8_t>(((plane0 >> bit) & 1) | (((plane1 >> bit) & 1) << 1));
    }
  }
  return pixels;
}

COLORREF Bgr555ToColorRef(std::uint16_t word) {
  const COLORREF red = (word & 0x1Fu) << 3;
  const COLORREF green = ((word >> 5) & 0x1Fu) << 3;
  const COLORREF blue = ((word >> 10) & 0x1Fu) << 3;
  return red | green << 8 | blue << 16;
}
