// picture: the PNG files hold what the editor draws, pixel for pixel.

#include <gtest/gtest.h>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include "CliRun.h"
#include "EditorFixture.h"
#include "cli/Picture.h"
#include "framework/CMemoryDC.h"
#include "render/GlyphSheetLayout.h"

namespace {

struct Png {
  int Width = 0, Height = 0;
  std::vector<COLORREF> Pixels;
  COLORREF At(int x, int y) const { return Pixels[static_cast<std::size_t>(y * Width + x)]; }
};

Png ReadPng(const std::string& path) {
  Png png;
  int channels = 0;
  unsigned char* data = stbi_load(path.c_str(), &png.Width, &png.Height, &channels, 3);
  if (!data) return png;
  for (int i = 0; i < png.Width * png.Height; ++i)
    png.Pixels.push_back(static_cast<COLORREF>(data[3 * i] | data[3 * i + 1] << 8 | data[3 * i + 2] << 16));
  stbi_image_free(data);
  return png;
}

class Pictures : public EditorFixture {
 protected:
  // The editor loads the image (and builds its sheets into g_rom); the command line draws it.
  Png Picture(const std::string& flag, const std::vector<std::string>& more = {}) {
    if (Image.empty()) Image = Load(Sample(true, true, 2));
    const std::string out = Dir.PathOf("picture.png");
    std::vector<std::string> args{"picture", Image, flag, out};
    args.insert(args.end(), more.begin(), more.end());
    CliResult run = RunCli(args);
    EXPECT_EQ(run.Status, 0) << run.Err;
    return ReadPng(out);
  }
  static void ExpectSame(const Png& png, const CDC& sheet) {
    const PixelSurface& surface = sheet.Surface();
    ASSERT_EQ(png.Width, surface.Width);
    ASSERT_EQ(png.Height, surface.Height);
    int wrong = 0;
    for (int y = 0; y < png.Height; ++y)
      for (int x = 0; x < png.Width; ++x) wrong += png.At(x, y) != sheet.GetPixel(x, y) ? 1 : 0;
    EXPECT_EQ(wrong, 0);
  }
  std::string Image;
};

TEST_F(Pictures, SheetsHaveTheEditorsSizesAndColours) {
  const Png glyphs = Picture("--glyphs");
  EXPECT_EQ(glyphs.Width, GlyphSheetWidth);
  EXPECT_EQ(glyphs.Height, GlyphSheetHeight);
  ExpectSame(glyphs, g_rom.GlyphSheet);
  // Pinned apart from the sheet: the normal scheme's background, red first in the file.
  EXPECT_EQ(glyphs.At(GlyphCell(0xFF, ColourScheme::Normal).x, GlyphCell(0xFF, ColourScheme::Normal).y),
            SchemeColours(ColourScheme::Normal)[0]);

  const Png palettes = Picture("--palettes");
  EXPECT_EQ(palettes.Width, PaletteSheetWidth);
  EXPECT_EQ(palettes.Height, PaletteSheetHeight);
  ExpectSame(palettes, g_rom.PaletteSheet);
}

TEST_F(Pictures, ScaleRepeatsEveryPixel) {
  const Png one = Picture("--glyphs");
  const Png three = Picture("--glyphs", {"--scale", "3"});
  ASSERT_EQ(three.Width, 3 * one.Width);
  ASSERT_EQ(three.Height, 3 * one.Height);
  for (int y = 0; y < three.Height; y += 7)
    for (int x = 0; x < three.Width; x += 5) ASSERT_EQ(three.At(x, y), one.At(x / 3, y / 3)) << x << "," << y;
}

// Each name line holds, after its number, the pixels of the editor's own list item.
TEST_F(Pictures, NamesAreDrawnAsTheEditorsListsDrawThem) {
  const Png names = Picture("--names");
  ASSERT_EQ(names.Width, 3 * Cli::NameColumnWidth);
  ASSERT_EQ(names.Height, 55 * Cli::NameLineHeight);

  const int itemWidth = Cli::NameColumnWidth - Cli::NameTextOffset;
  CMemoryDC item;
  item.CreateCompatibleDC(nullptr);
  item.Bitmap.CreateCompatibleBitmap(&item, itemWidth, Cli::NameLineHeight);
  item.SelectObject(&item.Bitmap);

  struct Line {
    int Box, Item, Column, Row;
  };
  std::vector<Line> lines;
  for (int e : {1, 13, 26}) lines.push_back({IDC_ESPER, e, 0, e});
  for (int s : {0, 30, 53}) lines.push_back({IDC_SPELL6, s + 1, 1, s});  // item 0 is "No Spell"
  for (int b : {1, 16}) lines.push_back({IDC_BONUS, b, 2, b});
  for (const Line& line : lines) {
    ASSERT_NE(line.Item, Headless::Control(*Dialog, line.Box)->Selection) << "the current item has its own colours";
    Headless::DrawComboItem(*Dialog, line.Box, line.Item, 0, RECT{0, 0, itemWidth, Cli::NameLineHeight},
                            item.GetSafeHdc());
    const int left = line.Column * Cli::NameColumnWidth + Cli::NameTextOffset;
    const int top = (line.Row + 1) * Cli::NameLineHeight;
    int wrong = 0;
    for (int y = 0; y < Cli::NameLineHeight; ++y)
      for (int x = 0; x < itemWidth; ++x) wrong += names.At(left + x, top + y) != item.GetPixel(x, y) ? 1 : 0;
    EXPECT_EQ(wrong, 0) << "box " << line.Box << " item " << line.Item;
  }

  // The number: "26" in the image's digit glyphs, right-aligned in three cells.
  const CellOrigin six = GlyphCell(0xBA, ColourScheme::Normal);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      ASSERT_EQ(names.At(6 + 16 + x, 27 * Cli::NameLineHeight + 4 + y),
                g_rom.GlyphSheet.GetPixel(six.x + x, six.y + y));
}

}  // namespace
