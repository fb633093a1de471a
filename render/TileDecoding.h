#pragma once
// Pure decoders for the image's font tiles and colours; nothing here draws.

#include <array>
#include <cstdint>

#include "framework/WinTypes.h"

// One 8x8 glyph: colour indices 0..3, [row][column], top row and left column first.
using TilePixels = std::array<std::array<std::uint8_t, 8>, 8>;

// A 2-bit planar tile of 16 bytes: row r is the byte pair 2r (plane 0), 2r + 1 (plane 1);
// column x is bit 7 - x of each; index = plane-0 bit + 2 x plane-1 bit.
TilePixels DecodeTile(const std::array<std::uint8_t, 16>& tile);

// A 15-bit colour word (bits 0-4 red, 5-9 green, 10-14 blue; bit 15 ignored) as a COLORREF,
// each component widened by three zero bits (0x1F becomes 0xF8).
COLORREF Bgr555ToColorRef(std::uint16_t word);
