#include <gtest/gtest.h>

#include <algorithm>

#include "TestDialog.h"
#include "TestFiles.h"
#include "render/SheetBuilder.h"
#include "rom/CRomImage.h"
#include "rom/RomLayout.h"
#include "tools/SampleImage.h"

namespace {

class SheetBuilder : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { ASSERT_TRUE(Headless::Open(Window)); }

  // Loads bytes into g_rom as the Load command does, then builds the sheets on Window.
  void LoadAndBuild(const std::vector<std::uint8_t>& bytes) {
    g_rom.SetPath(CString(Dir.Write("image.smc", bytes).c_str()));
    ASSERT_TRUE(g_rom.LoadImage(CRomImage::LoadStage::Extent)) << g_rom.ErrorText.Str();
    BuildSheets(Window, g_rom);
  }

  std::vector<std::uint8_t> Image(bool header) const {
    SampleImage::Options options;
    options.Header = header;
    return SampleImage::Make(options);
  }

  // Every pixel of both sheets against values written out here, not decoded again: glyph c
  // has plane 0 = c and plane 1 = 0x80 >> row in each row, so pixel (x, y) has index bit
  // 7 - x of c, plus 2 on the diagonal x == y; colour n is the word n, whose components are
  // its three 5-bit fields widened by three zero bits.
  static std::vector<std::uint8_t> PatternedImage(bool header) {
    SampleImage::Options options;
    options.Header = header;
    std::vector<std::uint8_t> bytes = SampleImage::Make(options);
    const std::size_t at = header ? 512 : 0;
    for (int code = 0; code < 256; ++code)
      for (int row = 0; row < 8; ++row) {
        bytes[at + RomLayout::FontBlock + 16 * code + 2 * row] = static_cast<std::uint8_t>(code);
        bytes[at + RomLayout::FontBlock + 16 * code + 2 * row + 1] = static_cast<std::uint8_t>(0x80 >> row);
      }
    for (int n = 0; n < 2048; ++n) {
      bytes[at + RomLayout::PaletteBlock + 2 * n] = static_cast<std::uint8_t>(n & 0xFF);
      bytes[at + RomLayout::PaletteBlock + 2 * n + 1] = static_cast<std::uint8_t>(n >> 8 | 0x80);  // bit 15 set
    }
    return bytes;
  }

  static void ExpectThePattern() {
    constexpr COLORREF backgrounds[] = {0xFF8080, 0x404080, 0x800000};
    for (int band = 0; band < 3; ++band)
      for (int code = 0; code < 256; ++code)
        for (int y = 0; y < 8; ++y)
          for (int x = 0; x < 8; ++x) {
            const int index = (code >> (7 - x) & 1) + (x == y ? 2 : 0);
            const COLORREF expected = index == 0   ? backgrounds[band]
                                      : index == 1 ? 0x000000
                                      : index == 2 ? 0x808080
                                                   : 0xFFFFFF;
            ASSERT_EQ(g_rom.GlyphSheet.GetPixel((code % 16) * 8 + x, 128 * band + (code / 16) * 8 + y), expected)
                << "band " << band << " code " << code << " at " << x << "," << y;
          }
    for (int n = 0; n < 2048; ++n) {
      const COLORREF expected = static_cast<COLORREF>((n & 0x1F) << 3 | (n >> 5 & 0x1F) << 11 | (n >> 10 & 0x1F) << 19);
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
          ASSERT_EQ(g_rom.PaletteSheet.GetPixel(8 * (n % 16) + x, 8 * (n / 16) + y), expected) << n;
    }
  }

  TempDir Dir;
  TestDialog Window;
};

TEST_P(SheetBuilder, DrawsEveryGlyphAndSwatchFromTheImage) {
  LoadAndBuild(PatternedImage(GetParam()));
  EXPECT_EQ(g_rom.HeaderSize, GetParam() ? 512 : 0);
  EXPECT_EQ(g_rom.GlyphSheet.Surface().Width, 128);
  EXPECT_EQ(g_rom.GlyphSheet.Surface().Height, 384);
  EXPECT_EQ(g_rom.PaletteSheet.Surface().Height, 1024);
  ExpectThePattern();
  // The cursor stops just after the palette block.
  EXPECT_EQ(g_rom.Cursor,
            RomLayout::PaletteBlock + RomLayout::PaletteBlockLength + static_cast<unsigned>(g_rom.HeaderSize));
}

INSTANTIATE_TEST_SUITE_P(Headers, SheetBuilder, ::testing::Values(false, true));

TEST_F(SheetBuilder, SecondBuildReplacesEveryPixel) {
  std::vector<std::uint8_t> first = PatternedImage(false);
  for (std::size_t i = 0; i < RomLayout::FontBlockLength; ++i) first[RomLayout::FontBlock + i] ^= 0xFF;
  for (std::size_t i = 0; i < RomLayout::PaletteBlockLength; ++i) first[RomLayout::PaletteBlock + i] ^= 0x5A;
  LoadAndBuild(first);
  LoadAndBuild(PatternedImage(false));
  ExpectThePattern();
}

// Single pixels whose colours are worked out by hand from the tile and colour formats.
TEST_F(SheetBuilder, KnownTilesAndColoursGiveTheirPixels) {
  std::vector<std::uint8_t> bytes = Image(false);
  const auto tile = [&](int code) { return bytes.begin() + static_cast<long>(RomLayout::FontBlock + 16 * code); };
  std::fill_n(tile(0x41), 16, 0x00);
  tile(0x41)[0] = 0x80;  // row 0, plane 0: the leftmost pixel
  tile(0x41)[1] = 0x01;  // row 0, plane 1: the rightmost pixel
  std::fill_n(tile(0xFF), 16, 0xFF);
  const auto colour = [&](int n, std::uint8_t low, std::uint8_t high) {
    bytes[RomLayout::PaletteBlock + 2 * n] = low;
    bytes[RomLayout::PaletteBlock + 2 * n + 1] = high;
  };
  colour(0, 0x1F, 0x00);
  colour(1, 0x00, 0x7C);
  colour(2, 0xFF, 0x7F);
  colour(17, 0x34, 0x12);
  colour(2047, 0xFF, 0xFF);
  LoadAndBuild(bytes);

  struct Pixel {
    int x, y;
    COLORREF colour;
  };
  for (const Pixel& p : std::initializer_list<Pixel>{
           {8, 32, 0x000000},
           {15, 32, 0x808080},
           {9, 32, 0xFF8080},
           {8, 33, 0xFF8080},  // 0x41, highlight
           {8, 160, 0x000000},
           {15, 160, 0x808080},
           {12, 160, 0x404080},  // current
           {8, 288, 0x000000},
           {15, 288, 0x808080},
           {10, 295, 0x800000},  // normal
           {120, 120, 0xFFFFFF},
           {127, 255, 0xFFFFFF},
           {123, 380, 0xFFFFFF},  // 0xFF: white
       })
    EXPECT_EQ(g_rom.GlyphSheet.GetPixel(p.x, p.y), p.colour) << p.x << "," << p.y;
  for (const Pixel& p : std::initializer_list<Pixel>{
           {0, 0, 0x0000F8}, {15, 7, 0xF80000}, {16, 0, 0xF8F8F8}, {8, 8, 0x2088A0}, {127, 1023, 0xF8F8F8}})
    EXPECT_EQ(g_rom.PaletteSheet.GetPixel(p.x, p.y), p.colour) << p.x << "," << p.y;
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
