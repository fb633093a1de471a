#pragma once
// Where things lie on the two sheets, and the three colour schemes glyphs are drawn in.

#include <array>

#include "framework/WinTypes.h"

enum class ColourScheme { Highlight = 0, Current = 1, Normal = 2 };

inline constexpr int GlyphSize = 8;
inline constexpr int GlyphSheetWidth = 128;  // 16 cells of 8 pixels
inline constexpr int GlyphBandHeight = 128;  // one band of 16 x 16 cells per scheme
inline constexpr int GlyphSheetHeight = 3 * GlyphBandHeight;
inline constexpr int PaletteSheetWidth = 128;    // 16 swatches of 8 pixels
inline constexpr int PaletteSheetHeight = 1024;  // 128 rows of swatches

struct CellOrigin {
  int x;
  int y;
  friend bool operator==(const CellOrigin&, const CellOrigin&) = default;
};

// Top-left corner of glyph code on the sheet, in scheme's band.
constexpr CellOrigin GlyphCell(int code, ColourScheme scheme) {
  return {(code & 0x0F) * GlyphSize, (code >> 4) * GlyphSize + GlyphBandHeight * static_cast<int>(scheme)};
}

// Colours of pixel indices 0..3 in a scheme. Index 0 is also the background of an item
// drawn in that scheme, so the cells blend into it.
constexpr std::array<COLORREF, 4> SchemeColours(ColourScheme scheme) {
  constexpr COLORREF backgrounds[] = {0xFF8080, 0x404080, 0x800000};
  return {backgrounds[static_cast<int>(scheme)], 0x000000, 0x808080, 0xFFFFFF};
}
