#pragma once
// Pixels the program owns: 32 bits each, 0x00RRGGBB (the layout of a 32-bit DIB), rows top
// first. Memory drawing surfaces are these on every backend, so setting a pixel is a store
// and a block copy between them is a copy of rows.

#include <cstdint>

#include "framework/WinTypes.h"

struct PixelSurface {
  std::uint32_t* Bits = nullptr;
  int Width = 0;
  int Height = 0;

  explicit operator bool() const { return Bits != nullptr; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
};

inline constexpr std::uint32_t PixelFromColorRef(COLORREF c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline constexpr COLORREF ColorRefFromPixel(std::uint32_t p) {
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}
