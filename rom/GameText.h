#pragma once
// Glyph codes of the game's text encoding that the editor itself relies on.
// A GameText is a byte string of glyph codes; it never holds 0x00.

#include <cstdint>

namespace GameText {

inline constexpr std::uint8_t UpperA = 0x80;       // 'A'..'Z' are 0x80..0x99
inline constexpr std::uint8_t LowerA = 0x9A;       // 'a'..'z' are 0x9A..0xB3
inline constexpr std::uint8_t Digit0 = 0xB4;       // '0'..'9' are 0xB4..0xBD
inline constexpr std::uint8_t HexMark = 0xD7;      // between "0" and the digits of a generated label
inline constexpr std::uint8_t SkippedLead = 0xFE;  // not drawn when it is the first byte
inline constexpr std::uint8_t Blank = 0xFF;

}  // namespace GameText
