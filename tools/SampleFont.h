#pragma once
// Our own 8x8 font for sample images, as the console's 2bpp planar tiles.
// Glyphs are white strokes with a black shadow to the right and below, so
// they read on the editor's dark backgrounds.
//
// Codes drawn: 'A'..'Z', 'a'..'z', '0'..'9' at the game's codes, then our
// punctuation right after the digits, and a small 'x' at GameText::HexMark.
// Every other tile, GameText::Blank among them, is empty.

#include <array>
#include <cstdint>

#include "rom/RomLayout.h"

namespace SampleFont {

inline constexpr std::uint8_t Plus = 0xBE;        // '+'
inline constexpr std::uint8_t Minus = 0xBF;       // '-'
inline constexpr std::uint8_t Dot = 0xC0;         // '.'
inline constexpr std::uint8_t Percent = 0xC1;     // '%'
inline constexpr std::uint8_t Slash = 0xC2;       // '/'
inline constexpr std::uint8_t Bang = 0xC3;        // '!'
inline constexpr std::uint8_t Apostrophe = 0xC4;  // '\''

// The code that draws c; ' ' gives GameText::Blank. -1 when the font has no
// glyph for c.
int CodeFor(char c);

// The whole font block: tile n draws code n.
std::array<std::uint8_t, RomLayout::FontBlockLength> Tiles();

}  // namespace SampleFont
