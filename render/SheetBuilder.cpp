#include "render/SheetBuilder.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "framework/CDC.h"
#include "framework/CWnd.h"
#include "render/GlyphSheetLayout.h"
#include "render/TileDecoding.h"
#include "rom/CRomImage.h"
#include "rom/RomLayout.h"

namespace {

// Whether a sheet has the pixels it was made for; drawing skips one that could not be made.
bool Made(const PixelSurface& pixels, int width, int height) {
  return pixels && pixels.Width == width && pixels.Height == height;
}

// Makes sheet a width x height memory surface like `like`, unless it already is one: every
// load draws every pixel of both sheets, so the last load's surfaces serve again as they are.
void PrepareSheet(CMemoryDC& sheet, CDC* like, int width, int height) {
  if (Made(sheet.Surface(), width, height)) return;
  sheet.Release();
  sheet.CreateCompatibleDC(like);
  sheet.Bitmap.CreateCompatibleBitmap(like, width, height);  // compatible with the display, not the memory DC
  sheet.SelectObject(&sheet.Bitmap);
}

// Glyph cells fill their sheet's rows, and bands of 16 swatches the palette sheet's.
static_assert(GlyphSheetWidth == 16 * GlyphSize && GlyphSheetHeight == 3 * 16 * GlyphSize);
static_assert(PaletteSheetWidth == 16 * 8 && PaletteSheetHeight == RomLayout::PaletteColourCount / 16 * 8 &&
              RomLayout::PaletteColourCount % 16 == 0);

}  // namespace

void RenderSheets(CRomImage& rom, CDC* like) {
  PrepareSheet(rom.GlyphSheet, like, GlyphSheetWidth, GlyphSheetHeight);
  std::array<std::array<std::uint8_t, 16>, RomLayout::GlyphCount> font{};
  rom.SeekRom(RomLayout::FontBlock);
  for (auto& tile : font)
    for (std::uint8_t& byte : tile) byte = rom.ReadByte();
  const PixelSurface& glyphs = rom.GlyphSheet.Surface();
  if (Made(glyphs, GlyphSheetWidth, GlyphSheetHeight)) {
    constexpr ColourScheme schemes[] = {ColourScheme::Highlight, ColourScheme::Current, ColourScheme::Normal};
    std::array<std::array<std::uint32_t, 4>, 3> colours{};
    for (std::size_t s = 0; s < colours.size(); ++s)
      for (std::size_t i = 0; i < 4; ++i) colours[s][i] = PixelFromColorRef(SchemeColours(schemes[s])[i]);
    for (int code = 0; code < RomLayout::GlyphCount; ++code) {
      const TilePixels pixels = DecodeTile(font[static_cast<std::size_t>(code)]);
      for (std::size_t s = 0; s < colours.size(); ++s) {
        const CellOrigin cell = GlyphCell(code, schemes[s]);
        for (int y = 0; y < GlyphSize; ++y) {
          std::uint32_t* row = glyphs.Bits + (cell.y + y) * glyphs.Width + cell.x;
          for (int x = 0; x < GlyphSize; ++x) row[x] = colours[s][pixels[y][x]];
        }
      }
    }
  }

  // Each band of 16 swatches is one row of pixels, 8 times over.
  PrepareSheet(rom.PaletteSheet, like, PaletteSheetWidth, PaletteSheetHeight);
  rom.SeekRom(RomLayout::PaletteBlock);
  const PixelSurface& swatches = rom.PaletteSheet.Surface();
  const bool made = Made(swatches, PaletteSheetWidth, PaletteSheetHeight);
  std::array<std::uint32_t, PaletteSheetWidth> band{};
  for (int n = 0; n < RomLayout::PaletteColourCount; ++n) {
    const std::uint8_t low = rom.ReadByte();
    const std::uint8_t high = rom.ReadByte();
    const std::uint32_t pixel = PixelFromColorRef(Bgr555ToColorRef(static_cast<std::uint16_t>(low | high << 8)));
    std::fill_n(band.begin() + 8 * (n % 16), 8, pixel);
    if (n % 16 != 15 || !made) continue;
    for (int y = 8 * (n / 16); y < 8 * (n / 16) + 8; ++y)
      std::copy(band.begin(), band.end(), swatches.Bits + y * swatches.Width);
  }
}

void CopySheetPreview(CRomImage& rom, CDC& target) {
  target.BitBlt(0, 256, PaletteSheetWidth, PaletteSheetHeight, &rom.PaletteSheet, 0, 0, SRCCOPY);
  target.BitBlt(0, 256, GlyphSheetWidth, 2 * GlyphBandHeight, &rom.GlyphSheet, 0, 0, SRCCOPY);
  target.BitBlt(128, 256, GlyphSheetWidth, GlyphBandHeight, &rom.GlyphSheet, 0, 2 * GlyphBandHeight, SRCCOPY);
}

void BuildSheets(CWnd& window, CRomImage& rom) {
  CClientDC client(&window);
  RenderSheets(rom, &client);
  CopySheetPreview(rom, client);
}
