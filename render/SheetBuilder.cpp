#include "render/SheetBuilder.h"

#include "framework/CDC.h"
#include "framework/CWnd.h"
#include "render/GlyphSheetLayout.h"
#include "render/TileDecoding.h"
#include "rom/CRomImage.h"
#include "rom/RomLayout.h"

namespace {

void CreateSheet(CMemoryDC& sheet, CDC* like, int width, int height) {
  sheet.CreateCompatibleDC(like);
  sheet.Bitmap.CreateCompatibleBitmap(like, width, height);  // compatible with the display, not the memory DC
  sheet.SelectObject(&sheet.Bitmap);
}

}  // namespace

void RenderSheets(CRomImage& rom, CDC* like) {
  rom.PaletteSheet.Release();
  rom.GlyphSheet.Release();

  CreateSheet(rom.GlyphSheet, like, GlyphSheetWidth, GlyphSheetHeight);
  std::array<std::array<std::uint8_t, 16>, RomLayout::GlyphCount> font{};
  rom.SeekRom(RomLayout::FontBlock);
  for (auto& tile : font)
    for (std::uint8_t& byte : tile) byte = rom.ReadByte();
  for (ColourScheme scheme : {ColourScheme::Highlight, ColourScheme::Current, ColourScheme::Normal}) {
    const std::array<COLORREF, 4> colours = SchemeColours(scheme);
    for (int code = 0; code < RomLayout::GlyphCount; ++code) {
      const TilePixels pixels = DecodeTile(font[static_cast<std::size_t>(code)]);
      const CellOrigin cell = GlyphCell(code, scheme);
      for (int y = 0; y < GlyphSize; ++y)
        for (int x = 0; x < GlyphSize; ++x) rom.GlyphSheet.SetPixel(cell.x + x, cell.y + y, colours[pixels[y][x]]);
    }
  }

  CreateSheet(rom.PaletteSheet, like, PaletteSheetWidth, PaletteSheetHeight);
  rom.SeekRom(RomLayout::PaletteBlock);
  for (int n = 0; n < RomLayout::PaletteColourCount; ++n) {
    const std::uint8_t low = rom.ReadByte();
    const std::uint8_t high = rom.ReadByte();
    const COLORREF colour = Bgr555ToColorRef(static_cast<std::uint16_t>(low | high << 8));
    const RECT swatch{8 * (n % 16), 8 * (n / 16), 8 * (n % 16) + 8, 8 * (n / 16) + 8};
    rom.PaletteSheet.FillSolidRect(&swatch, colour);
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
