#include <gtest/gtest.h>

#include "TestDialog.h"
#include "render/GlyphSheetLayout.h"
#include "rom/CRomImage.h"

namespace {

constexpr COLORREF Untouched = 0x123456;

// The glyph sheet gets a colour unique to every pixel, so a copied cell shows where it came from.
COLORREF SheetColour(int x, int y) { return static_cast<COLORREF>(0x010000 + y * 128 + x); }

struct DrawCase {
  const char* Name;
  std::string Text;
  UINT State;
  int Remembered;
  ColourScheme Scheme;
  std::vector<std::pair<int, int>> GlyphOrigins;  // where each drawn glyph's top-left lands
  std::vector<int> Codes;                         // the glyph drawn there
  friend void PrintTo(const DrawCase& c, std::ostream* out) { *out << c.Name; }
};

class DrawItem : public ::testing::TestWithParam<DrawCase> {
 protected:
  void SetUp() override {
    g_rom.GlyphSheet.Release();
    ASSERT_TRUE(g_rom.GlyphSheet.CreateCompatibleDC(nullptr));
    ASSERT_TRUE(g_rom.GlyphSheet.Bitmap.CreateCompatibleBitmap(nullptr, 128, 384));
    g_rom.GlyphSheet.SelectObject(&g_rom.GlyphSheet.Bitmap);
    for (int y = 0; y < 384; ++y)
      for (int x = 0; x < 128; ++x) g_rom.GlyphSheet.SetPixel(x, y, SheetColour(x, y));

    ASSERT_TRUE(Target.CreateCompatibleDC(nullptr));
    ASSERT_TRUE(Target.Bitmap.CreateCompatibleBitmap(nullptr, 120, 48));
    Target.SelectObject(&Target.Bitmap);
    RECT all{0, 0, 120, 48};
    Target.FillSolidRect(&all, Untouched);
    ASSERT_TRUE(Headless::Open(Dialog));
  }

  void Draw(const std::string& text, UINT state, RECT rect, int index = 0) {
    Dialog.Box.ResetContent();
    Dialog.Box.AddString(CString(text));
    Headless::DrawComboItem(Dialog, TestDialog::BoxId, index, state, rect, Target.GetSafeHdc());
  }

  void ExpectGlyph(int x, int y, int code, ColourScheme scheme) {
    CellOrigin cell = GlyphCell(code, scheme);
    for (int dy = 0; dy < 8; ++dy)
      for (int dx = 0; dx < 8; ++dx)
        ASSERT_EQ(Target.GetPixel(x + dx, y + dy), SheetColour(cell.x + dx, cell.y + dy)) << x + dx << "," << y + dy;
  }

  TestDialog Dialog;
  CMemoryDC Target;
};

TEST_P(DrawItem, FillsTheItemAndCopiesOneCellPerByte) {
  const DrawCase& c = GetParam();
  Dialog.Box.RememberedIndex = c.Remembered;
  const RECT rect{0, 24, 100, 36};
  Draw(c.Text, c.State, rect);

  const COLORREF background = SchemeColours(c.Scheme)[0];
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 120; ++x) {
      bool inRect = x < 100 && y >= 24 && y < 36;
      bool inGlyph = false;
      for (auto [gx, gy] : c.GlyphOrigins) inGlyph |= x >= gx && x < gx + 8 && y >= gy && y < gy + 8;
      if (!inGlyph) {
        ASSERT_EQ(Target.GetPixel(x, y), inRect ? background : Untouched) << x << "," << y;
      }
    }
  for (std::size_t i = 0; i < c.GlyphOrigins.size(); ++i)
    ExpectGlyph(c.GlyphOrigins[i].first, c.GlyphOrigins[i].second, c.Codes[i], c.Scheme);
}

INSTANTIATE_TEST_SUITE_P(
    Items, DrawItem,
    ::testing::Values(
        DrawCase{"ListItemNormal", "\x41", 0, -1, ColourScheme::Normal, {{6, 28}}, {0x41}},
        DrawCase{"SelectionField",
                 "\x41",
                 ODS_COMBOBOXEDIT | ODS_FOCUS | ODS_SELECTED,
                 0,
                 ColourScheme::Normal,
                 {{4, 31}},
                 {0x41}},
        DrawCase{"LeadingFeSkipped", "\xFE\x20\x21", 0, -1, ColourScheme::Normal, {{6, 28}, {14, 28}}, {0x20, 0x21}},
        DrawCase{"LaterFeDrawn", "\x41\xFE", 0, -1, ColourScheme::Normal, {{6, 28}, {14, 28}}, {0x41, 0xFE}},
        DrawCase{"OnlyFe", "\xFE", 0, -1, ColourScheme::Normal, {}, {}},
        DrawCase{"Empty", "", 0, -1, ColourScheme::Normal, {}, {}},
        DrawCase{"Remembered", "\xFF", 0, 0, ColourScheme::Current, {{6, 28}}, {0xFF}},
        DrawCase{"SelectedAndRemembered", "\xFF", ODS_SELECTED, 0, ColourScheme::Highlight, {{6, 28}}, {0xFF}},
        DrawCase{"Focused", "\x80", ODS_FOCUS, -1, ColourScheme::Highlight, {{6, 28}}, {0x80}},
        DrawCase{"RunsPastTheRightEdge",
                 std::string(14, '\x81'),
                 0,
                 -1,
                 ColourScheme::Normal,
                 {{6, 28},
                  {14, 28},
                  {22, 28},
                  {30, 28},
                  {38, 28},
                  {46, 28},
                  {54, 28},
                  {62, 28},
                  {70, 28},
                  {78, 28},
                  {86, 28},
                  {94, 28},
                  {102, 28},
                  {110, 28}},
                 std::vector<int>(14, 0x81)}),
    [](const ::testing::TestParamInfo<DrawCase>& drawCase) { return std::string(drawCase.param.Name); });

TEST_F(DrawItem, NoItemDrawsNothing) {
  Draw("\x41", 0, RECT{0, 0, 100, 12}, -1);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 120; ++x) ASSERT_EQ(Target.GetPixel(x, y), Untouched);
}

TEST_F(DrawItem, SelectRememberMarksAnItemOrNoneWhenTheListLacksIt) {
  for (int i = 0; i < 55; ++i) Dialog.Box.AddString("\x80");
  Dialog.Box.SelectRemember(3);
  EXPECT_EQ(Dialog.Box.GetCurSel(), 3);
  EXPECT_EQ(Dialog.Box.RememberedIndex, 3);

  Dialog.Box.SelectRemember(60);
  EXPECT_EQ(Dialog.Box.GetCurSel(), CB_ERR);
  EXPECT_EQ(Dialog.Box.RememberedIndex, 60);
}

}  // namespace
