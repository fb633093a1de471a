#include <gtest/gtest.h>

#include "TestDialog.h"
#include "TestFiles.h"
#include "render/GlyphSheetLayout.h"
#include "render/SheetBuilder.h"
#include "render/TileDecoding.h"
#include "rom/CRomImage.h"
#include "rom/RomLayout.h"
#include "tools/SampleImage.h"

namespace {

class SheetBuilder : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { ASSERT_TRUE(Headless::Open(Window)); }

  // Loads bytes into g_rom as the Load command does, then builds the sheets on Window.
  void LoadAndBuild(const std::vector<std::uint8_t>& bytes) {
    Bytes = bytes;
    g_rom.SetPath(CString(Dir.Write("image.smc", bytes).c_str()));
    ASSERT_TRUE(g_rom.LoadImage(CRomImage::LoadStage::Extent)) << g_rom.ErrorText.Str();
    BuildSheets(Window, g_rom);
  }

  std::vector<std::uint8_t> Image(bool header) const {
    SampleImage::Options options;
    options.Header = header;
    return SampleImage::Make(options);
  }

  std::uint8_t RomByte(std::uint64_t romOffset) const {
    return Bytes[romOffset + static_cast<unsigned>(g_rom.HeaderSize)];
  }

  COLORREF ExpectedGlyphPixel(int code, ColourScheme scheme, int x, int y) const {
    std::array<std::uint8_t, 16> tile{};
    for (int i = 0; i < 16; ++i) tile[static_cast<std::size_t>(i)] = RomByte(RomLayout::FontBlock + 16 * code + i);
    return SchemeColours(scheme)[DecodeTile(tile)[y][x]];
  }

  COLORREF ExpectedSwatch(int n) const {
    return Bgr555ToColorRef(static_cast<std::uint16_t>(RomByte(RomLayout::PaletteBlock + 2 * n) |
                                                       RomByte(RomLayout::PaletteBlock + 2 * n + 1) << 8));
  }

  void ExpectSheetsMatchTheImage() const {
    for (ColourScheme scheme : {ColourScheme::Highlight, ColourScheme::Current, ColourScheme::Normal})
      for (int code = 0; code < 256; ++code)
        for (int y = 0; y < 8; ++y)
          for (int x = 0; x < 8; ++x) {
            CellOrigin cell = GlyphCell(code, scheme);
            ASSERT_EQ(g_rom.GlyphSheet.GetPixel(cell.x + x, cell.y + y), ExpectedGlyphPixel(code, scheme, x, y))
                << "code " << code << " scheme " << static_cast<int>(scheme);
          }
    for (int n = 0; n < 2048; ++n)
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
          ASSERT_EQ(g_rom.PaletteSheet.GetPixel(8 * (n % 16) + x, 8 * (n / 16) + y), ExpectedSwatch(n)) << n;
  }

  TempDir Dir;
  TestDialog Window;
  std::vector<std::uint8_t> Bytes;
};

TEST_P(SheetBuilder, DrawsEveryGlyphAndSwatchFromTheImage) {
  LoadAndBuild(Image(GetParam()));
  EXPECT_EQ(g_rom.HeaderSize, GetParam() ? 512 : 0);
  EXPECT_EQ(g_rom.GlyphSheet.Surface().Width, 128);
  EXPECT_EQ(g_rom.GlyphSheet.Surface().Height, 384);
  EXPECT_EQ(g_rom.PaletteSheet.Surface().Height, 1024);
  ExpectSheetsMatchTheImage();
  // The cursor stops just after the palette block.
  EXPECT_EQ(g_rom.Cursor,
            RomLayout::PaletteBlock + RomLayout::PaletteBlockLength + static_cast<unsigned>(g_rom.HeaderSize));
}

INSTANTIATE_TEST_SUITE_P(Headers, SheetBuilder, ::testing::Values(false, true));

TEST_F(SheetBuilder, SecondBuildReplacesEveryPixel) {
  LoadAndBuild(Image(false));
  std::vector<std::uint8_t> other = Image(false);
  for (std::size_t i = 0; i < RomLayout::FontBlockLength; ++i) other[RomLayout::FontBlock + i] ^= 0xFF;
  for (std::size_t i = 0; i < RomLayout::PaletteBlockLength; ++i) other[RomLayout::PaletteBlock + i] ^= 0x5A;
  LoadAndBuild(other);
  ExpectSheetsMatchTheImage();
}

TEST_F(SheetBuilder, PreviewCoversThePaletteWithBothGlyphCopies) {
  LoadAndBuild(Image(false));
  CClientDC client(&Window);
  EXPECT_EQ(client.GetPixel(3, 256 + 3), g_rom.GlyphSheet.GetPixel(3, 3));
  EXPECT_EQ(client.GetPixel(100, 256 + 200), g_rom.GlyphSheet.GetPixel(100, 200));
  EXPECT_EQ(client.GetPixel(128 + 9, 256 + 9), g_rom.GlyphSheet.GetPixel(9, 256 + 9));
  EXPECT_EQ(client.GetPixel(5, 256 + 600), g_rom.PaletteSheet.GetPixel(5, 600));
  EXPECT_EQ(client.GetPixel(130, 256 + 200), 0u);  // right of the palette: untouched
}

TEST(MemorySurface, DrawingWithoutABitmapIsHarmless) {
  CMemoryDC sheet;
  ASSERT_TRUE(sheet.CreateCompatibleDC(nullptr));
  sheet.SelectObject(&sheet.Bitmap);  // never created: nothing is selected
  EXPECT_EQ(sheet.SetPixel(1, 1, 0xFFFFFF), CLR_INVALID_COLOUR);
  RECT all{0, 0, 100, 100};
  sheet.FillSolidRect(&all, 0x123456);
  CMemoryDC other;
  EXPECT_FALSE(other.BitBlt(0, 0, 8, 8, &sheet, 0, 0, SRCCOPY));
  EXPECT_EQ(sheet.GetPixel(0, 0), CLR_INVALID_COLOUR);
}

}  // namespace
