#pragma once
// Pictures of an image's font, palettes and names as PNG files, from the sheets the
// editor builds (BuildSheets) and in the colours it draws names in.

#include <cstdint>
#include <string>
#include <vector>

class CDC;
class CRomImage;

namespace Cli {

struct PixelImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;  // 0x00RRGGBB, rows top first
};

// The pixels of a DC that draws into memory (a sheet); empty when it has none.
PixelImage CopySurface(const CDC& dc);

// Three columns (espers, spells, bonuses 0..16), one name a line with its number, each line
// drawn as the editor draws a list item in the normal scheme, under a heading line in the
// highlight scheme. Requires the sheets (RenderSheets).
PixelImage DrawNameList(CRomImage& rom);

inline constexpr int NameLineHeight = 12;  // a list item's height
inline constexpr int NameColumnWidth = 120;
inline constexpr int NameTextOffset = 32;  // the number's three cells and a gap come first

// PNG bytes (8-bit RGB), each pixel scale x scale. Empty when encoding fails.
std::string EncodePng(const PixelImage& image, int scale);

}  // namespace Cli
