#include "EditorFixture.h"

namespace {

// What the fields show and what each change stores.
class FieldEdits : public EditorFixture {};

struct FieldCase {
  const char* Name;
  int Control;
  bool IsRate;
  std::string Typed;  // for a rate field
  int Item;           // for a box
  int Slot;
  int Stored;
  friend void PrintTo(const FieldCase& c, std::ostream* out) { *out << c.Name; }
};

class FieldHandlers : public EditorFixture, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(FieldHandlers, EachControlWritesExactlyItsSlotOfTheShownRecord) {
  const FieldCase& c = GetParam();
  Load(Sample(true));
  Headless::PickItem(*Dialog, IDC_ESPER, 4);
  EsperRecords before = g_rom.EsperTable;

  if (c.IsRate)
    Headless::TypeOver(*Dialog, c.Control, c.Typed);
  else
    Headless::PickItem(*Dialog, c.Control, c.Item);

  EsperRecords expected = before;
  expected[4][static_cast<std::size_t>(c.Slot)] = c.Stored;
  EXPECT_EQ(g_rom.EsperTable, expected);
  EXPECT_TRUE(Headless::MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Controls, FieldHandlers,
    ::testing::Values(
        FieldCase{"Rate1", IDC_RATE1, true, "123", 0, 0, 123}, FieldCase{"Rate2", IDC_RATE2, true, "7", 0, 2, 7},
        FieldCase{"Rate3", IDC_RATE3, true, "0", 0, 4, 0}, FieldCase{"Rate4", IDC_RATE4, true, "255", 0, 6, 255},
        FieldCase{"Rate5", IDC_RATE5, true, "x1y", 0, 8, 1}, FieldCase{"Rate6", IDC_RATE6, true, "042", 0, 10, 42},
        FieldCase{"Spell1", IDC_SPELL1, false, "", 1, 1, 0}, FieldCase{"Spell2", IDC_SPELL2, false, "", 54, 3, 53},
        FieldCase{"Spell3NoSpell", IDC_SPELL3, false, "", 0, 5, 0xFF},
        FieldCase{"Spell4", IDC_SPELL4, false, "", 10, 7, 9}, FieldCase{"Spell5", IDC_SPELL5, false, "", 20, 9, 19},
        FieldCase{"Spell6", IDC_SPELL6, false, "", 30, 11, 29}, FieldCase{"Bonus", IDC_BONUS, false, "", 16, 12, 16},
        FieldCase{"NoBonus", IDC_BONUS, false, "", 255, 12, 0xFF}),
    [](const ::testing::TestParamInfo<FieldCase>& field) { return std::string(field.param.Name); });

TEST_F(FieldEdits, TypingStoresEachPrefixAsItGoes) {
  Load(Sample(true));
  std::vector<int> seen;
  // Each key is one change; the table follows every one of them.
  for (const char* typed : {"1", "12", "123"}) {
    Headless::PasteText(*Dialog, IDC_RATE2, typed);
    seen.push_back(g_rom.EsperTable[0][2]);
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 12, 123}));
  EXPECT_EQ(FieldText(IDC_RATE2), "123");
}

TEST_F(FieldEdits, ChoosingAnEsperShowsItsRecordAndKeepsEdits) {
  Load(Sample(true));
  ExpectFieldsShow(0);
  Headless::TypeOver(*Dialog, IDC_RATE1, "77");
  Headless::PickItem(*Dialog, IDC_SPELL6, 3);
  Headless::PickItem(*Dialog, IDC_ESPER, 1);
  EXPECT_EQ(ShownEsper(), 1);
  ExpectFieldsShow(1);
  Headless::PickItem(*Dialog, IDC_ESPER, 0);
  ExpectFieldsShow(0);
  EXPECT_EQ(FieldText(IDC_RATE1), "77");
  EXPECT_EQ(Selection(IDC_SPELL6), 3);
  EXPECT_EQ(Dialog->SpellBox6.RememberedIndex, 3);
}

TEST_F(FieldEdits, SpellValuesWithoutAnItemShowNoSelectionAndSurvive) {
  std::vector<std::uint8_t> bytes = Sample(true);
  bytes[RomLayout::EsperDataBlock + 1] = 60;    // esper 0, spell 1
  bytes[RomLayout::EsperDataBlock + 3] = 0xFE;  // esper 0, spell 2
  bytes[RomLayout::EsperDataBlock + 5] = 0xFF;  // esper 0, spell 3: empty
  bytes[RomLayout::EsperDataBlock + 7] = 0;     // esper 0, spell 4: the first spell
  std::string path = Load(bytes);
  EXPECT_EQ(Selection(IDC_SPELL1), -1);
  EXPECT_EQ(Dialog->SpellBox1.RememberedIndex, 61);
  EXPECT_EQ(Selection(IDC_SPELL2), -1);
  EXPECT_EQ(Selection(IDC_SPELL3), 0);
  EXPECT_EQ(Selection(IDC_SPELL4), 1);

  Headless::TypeOver(*Dialog, IDC_RATE1, "5");
  Headless::PressCommand(*Dialog, ID_FILE_SAVE);
  std::vector<std::uint8_t> saved = ReadFileBytes(path);
  EXPECT_EQ(saved[RomLayout::EsperDataBlock], 5);
  EXPECT_EQ(saved[RomLayout::EsperDataBlock + 1], 60);
  EXPECT_EQ(saved[RomLayout::EsperDataBlock + 3], 0xFE);
}

// No edit can be typed where nothing would save it: while no image is held (at the start,
// after a Load that failed, the lists of an earlier image still shown) the boxes and rate fields
// are disabled: they take no keys, pastes, picks, clicks or focus, and Tab passes them by; a good
// Load enables them with the focus in the esper box. Faults: edits taken (and lost at Save, which
// does nothing then), the focus left in a disabled field, Tab or the dialog's start focusing one.
enum class Image { None, Loaded, LoadFailed };
struct HeldCase {
  const char* Name;
  Image Held;
  friend void PrintTo(const HeldCase& c, std::ostream* out) { *out << c.Name; }
};

class FieldsTakeInput : public EditorFixture, public ::testing::WithParamInterface<HeldCase> {};

TEST_P(FieldsTakeInput, OnlyWhileAnImageIsHeld) {
  const Image held = GetParam().Held;
  if (held != Image::None) Load(Sample(true));
  if (held == Image::LoadFailed) {
    Headless::TabInto(*Dialog, IDC_RATE3);  // the focus in a field that the failure disables
    LoadFile(Dir.PathOf("missing.smc"));
    ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
  }
  const bool enabled = held == Image::Loaded;
  for (int id = IDC_ESPER; id <= IDC_RATE6; ++id) EXPECT_EQ(Headless::IsEnabled(*Dialog, id), enabled) << id;
  EXPECT_EQ(Headless::FocusedWindow(), enabled ? Headless::Control(*Dialog, IDC_ESPER) : Dialog->m_hWnd);
  Headless::PressTab(*Dialog);
  EXPECT_EQ(Headless::FocusedWindow(), enabled ? Headless::Control(*Dialog, IDC_SPELL1) : Dialog->m_hWnd);
  Headless::ClickInto(*Dialog, IDC_RATE6);
  EXPECT_EQ(Headless::FocusedWindow(), enabled ? Headless::Control(*Dialog, IDC_RATE6) : Dialog->m_hWnd);

  const EsperRecords before = g_rom.EsperTable;
  const std::string rate1 = FieldText(IDC_RATE1), rate2 = FieldText(IDC_RATE2);
  const int spell = Selection(IDC_SPELL2), esper = Selection(IDC_ESPER);
  Headless::TypeOver(*Dialog, IDC_RATE1, "77");
  Headless::PasteText(*Dialog, IDC_RATE2, "78");
  Headless::PickItem(*Dialog, IDC_SPELL2, 5);
  Headless::PressListKey(*Dialog, IDC_ESPER, VK_DOWN);
  if (enabled) {
    EXPECT_EQ(g_rom.EsperTable[0][RateSlot(1)], 77);
    EXPECT_EQ(g_rom.EsperTable[0][RateSlot(2)], 78);
    EXPECT_EQ(g_rom.EsperTable[0][SpellSlot(2)], 4);
    EXPECT_EQ(ShownEsper(), 1);
  } else {
    EXPECT_EQ(g_rom.EsperTable, before);
    EXPECT_EQ(FieldText(IDC_RATE1), rate1);
    EXPECT_EQ(FieldText(IDC_RATE2), rate2);
    EXPECT_EQ(Selection(IDC_SPELL2), spell);
    EXPECT_EQ(Selection(IDC_ESPER), esper);
  }
  EXPECT_EQ(Headless::MessageBoxes().size(), held == Image::LoadFailed ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Images, FieldsTakeInput,
                         ::testing::Values(HeldCase{"AtTheStart", Image::None}, HeldCase{"AfterALoad", Image::Loaded},
                                           HeldCase{"AfterAFailedLoad", Image::LoadFailed}),
                         [](const ::testing::TestParamInfo<HeldCase>& held) { return std::string(held.param.Name); });

TEST_F(FieldEdits, ARefusedRateIsNeverStoredAndTheFieldShowsTheRecordAgain) {
  Load(Sample(true));
  Headless::TypeOver(*Dialog, IDC_RATE1, "30");
  Headless::PasteText(*Dialog, IDC_RATE1, "300");
  EXPECT_EQ(Headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(g_rom.EsperTable[0][0], 30);
  EXPECT_EQ(FieldText(IDC_RATE1), "30");

  // The stored value comes back selected: the next key replaces it. (Left with the caret in
  // front of it, "1" made "130", which is in range and was stored without a prompt.)
  HWND__* field = Headless::Control(*Dialog, IDC_RATE1);
  EXPECT_EQ(Headless::FocusedWindow(), field);
  EXPECT_EQ(field->SelStart, 0);
  EXPECT_EQ(field->SelEnd, 2);
  Headless::TypeText(*Dialog, IDC_RATE1, "1");
  EXPECT_EQ(FieldText(IDC_RATE1), "1");
  EXPECT_EQ(g_rom.EsperTable[0][0], 1);

  // The prompt does not come back when another field changes.
  Headless::PickItem(*Dialog, IDC_SPELL2, 5);
  EXPECT_EQ(Headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(g_rom.EsperTable[0][3], 4);

  // An emptied field is refused too, and shows the stored rate again.
  Headless::PasteText(*Dialog, IDC_RATE1, "");
  EXPECT_EQ(Headless::MessageBoxes().size(), 2u);
  EXPECT_EQ(FieldText(IDC_RATE1), "1");
}

// Keys on the closed esper box move as measured under Wine on a box of its size: a page is 15
// rows; PageDown goes to the page's last row, then a page on; PageUp to its first row, then a
// page back; the record landed on is shown. Faults: a page key moving one row or a fixed count.
TEST_F(FieldEdits, KeysOnAClosedListMoveAsWindowsMovesThem) {
  Load(Sample(true));
  const std::pair<int, int> keys[] = {{VK_NEXT, 14}, {VK_NEXT, 26}, {VK_NEXT, 26}, {VK_PRIOR, 12}, {VK_PRIOR, 0},
                                      {VK_PRIOR, 0}, {VK_END, 26},  {VK_UP, 25},   {VK_HOME, 0},   {VK_DOWN, 1},
                                      {VK_NEXT, 14}, {VK_DOWN, 15}, {VK_PRIOR, 1}};
  for (auto [key, esper] : keys) {
    Headless::PressListKey(*Dialog, IDC_ESPER, key);
    ASSERT_EQ(ShownEsper(), esper) << "key " << key;
  }
  ExpectFieldsShow(1);
}

// Keys go in at the caret, as on Windows. Rewriting a field the user types in would put the
// caret back at its start: "0", "0", "7" once stored 70 instead of 7.
TEST_F(FieldEdits, TypingInTheMiddleOfAFieldKeepsTheCaretWhereTheKeysGo) {
  Load(Sample(true));
  Headless::TypeOver(*Dialog, IDC_RATE2, "007");
  EXPECT_EQ(g_rom.EsperTable[0][2], 7);
  EXPECT_EQ(FieldText(IDC_RATE2), "007");
  Headless::TypeText(*Dialog, IDC_RATE2, "\b\b25");  // "0", then "025"
  EXPECT_EQ(g_rom.EsperTable[0][2], 25);
  Headless::MoveCaret(*Dialog, IDC_RATE2, 2, 2);  // a click between the 2 and the 5
  Headless::TypeText(*Dialog, IDC_RATE2, "0");
  EXPECT_EQ(FieldText(IDC_RATE2), "0205");
  EXPECT_EQ(g_rom.EsperTable[0][2], 205);
  EXPECT_TRUE(Headless::MessageBoxes().empty());
}

}  // namespace
