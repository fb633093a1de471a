#include <filesystem>

#include "EditorFixture.h"
#include "ExpectedBytes.h"
#include "ui/ListLabels.h"

namespace {

// Load, Save, Exit and "5->6" from the menu.
class MenuCommands : public EditorFixture {};

using Bytes = std::vector<std::uint8_t>;

class LoadCommand : public EditorFixture, public ::testing::WithParamInterface<std::pair<bool, bool>> {};

TEST_P(LoadCommand, FillsTheBoxesAndShowsTheFirstEsper) {
  auto [sixSlot, header] = GetParam();
  SampleImage::Options options;
  options.Records = sixSlot ? SampleImage::Layout::SixSlot : SampleImage::Layout::FiveSlot;
  options.Header = header;
  const int lookups = Headless::ControlLookups();
  Load(SampleImage::Make(options));

  EXPECT_EQ(Dialog->RomLoaded, 1);
  EXPECT_EQ(g_rom.HeaderSize, header ? 0x200 : 0);
  EXPECT_EQ(g_rom.RecordSize, 13);
  for (int id = IDC_SPELL1; id <= IDC_SPELL6; ++id) {
    ASSERT_EQ(Count(id), 55);
    EXPECT_EQ(Item(id, 0), NoSpellText.Str());
    EXPECT_EQ(Item(id, 1), g_rom.SpellNames[0].Str());
    EXPECT_EQ(Item(id, 54), g_rom.SpellNames[53].Str());
  }
  ASSERT_EQ(Count(IDC_ESPER), 27);
  ASSERT_EQ(Count(IDC_BONUS), 256);
  EXPECT_EQ(Item(IDC_BONUS, 255), NoBonusText.Str());
  EXPECT_EQ(Item(IDC_BONUS, 17), "\xB4\xD7\xB5\xB5");
  EXPECT_EQ(Item(IDC_ESPER, 26), g_rom.EsperNames[26].Str());
  EXPECT_EQ(Item(IDC_ESPER, 0), NameField(SampleImage::EsperName(options, 0), 8));

  EXPECT_EQ(ShownEsper(), 0);
  EXPECT_EQ(Dialog->EsperBox.RememberedIndex, 0);
  ExpectFieldsShow(0);

  // Faults: a box repainted per item added (redraw left on), never repainted (redraw left off
  // or no Invalidate), or a control looked up on the platform per item or per refresh.
  for (int id = IDC_ESPER; id <= IDC_BONUS; ++id) {
    EXPECT_TRUE(Headless::Control(*Dialog, id)->Redraw) << id;
    EXPECT_EQ(Headless::Control(*Dialog, id)->Repaints, 2) << id << ": once filled, once selected";
  }
  Headless::PickItem(*Dialog, IDC_ESPER, 5);
  EXPECT_EQ(Headless::ControlLookups(), lookups);
  if (sixSlot) {
    std::vector<std::uint8_t> record = SampleImage::EsperRecord(options, 0);
    for (int slot = 0; slot < 13; ++slot)
      EXPECT_EQ(g_rom.EsperTable[0][static_cast<std::size_t>(slot)], record[static_cast<std::size_t>(slot)]);
  }
  EXPECT_TRUE(Headless::MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Images, LoadCommand,
                         ::testing::Values(std::pair{false, false}, std::pair{false, true}, std::pair{true, false},
                                           std::pair{true, true}));

TEST_F(MenuCommands, SecondLoadReplacesEveryList) {
  Load(Sample(false, false, 0));
  Load(Sample(true, true, 3), "other.smc");
  SampleImage::Options second;
  second.Variant = 3;
  EXPECT_EQ(Count(IDC_SPELL3), 55);
  EXPECT_EQ(Count(IDC_ESPER), 27);
  EXPECT_EQ(Count(IDC_BONUS), 256);
  EXPECT_EQ(Item(IDC_ESPER, 5), NameField(SampleImage::EsperName(second, 5), 8));
  EXPECT_EQ(Item(IDC_SPELL3, 10), NameField(SampleImage::SpellName(second, 9), 7));
}

TEST_F(MenuCommands, CancelledFileDialogChangesNothing) {
  std::string path = Load(Sample());
  Headless::TypeOver(*Dialog, IDC_RATE2, "9");
  Headless::AnswerNextMessageBox(IDNO);  // not saved, and on to the file dialog
  Headless::CancelFileDialog();
  Headless::PressCommand(*Dialog, ID_FILE_LOAD);
  EXPECT_EQ(Headless::FileDialogAnswersLeft(), 0);
  EXPECT_EQ(Dialog->RomLoaded, 1);
  EXPECT_EQ(g_rom.Path.Str(), path);
  EXPECT_EQ(FieldText(IDC_RATE2), "9");
  EXPECT_EQ(Count(IDC_ESPER), 27);
}

TEST_F(MenuCommands, SaveWritesTheEditsAndThePatchAndNothingElse) {
  Bytes bytes = Sample(false, true);
  std::string path = Load(bytes);
  Headless::PressCommand(*Dialog, ID_SHIFT_DATA);  // no script: the user closes the question
  Headless::TypeOver(*Dialog, IDC_RATE3, "200");
  Headless::PickItem(*Dialog, IDC_BONUS, 255);
  Headless::PressCommand(*Dialog, ID_FILE_SAVE);

  // The five-slot block read as 13-byte rows and written back as they were, but for esper 0's
  // third rate (slot 4) and its bonus (slot 12); and the code patch.
  const std::size_t header = 0x200;
  Bytes expected = Expected::WithSixSlotPatch(bytes, header);
  expected[header + Expected::EsperBlock + 4] = 200;
  expected[header + Expected::EsperBlock + 12] = 0xFF;
  EXPECT_EQ(Differences(ReadFileBytes(path), expected), std::vector<std::size_t>{});
  EXPECT_TRUE(Headless::MessageBoxes().empty());  // a good save is silent
}

TEST_F(MenuCommands, SaveAndShiftDoNothingBeforeAnyLoad) {
  int runs = Headless::ModalRuns();
  Headless::PressCommand(*Dialog, ID_FILE_SAVE);
  Headless::PressCommand(*Dialog, ID_SHIFT_DATA);
  EXPECT_EQ(Headless::ModalRuns(), runs);
  EXPECT_TRUE(Headless::MessageBoxes().empty());
}

TEST_F(MenuCommands, ShiftRunsOnlyAfterOk) {
  Load(Sample(false));
  Headless::PickItem(*Dialog, IDC_ESPER, 26);
  EsperRecords before = g_rom.EsperTable;
  Headless::TypeOver(*Dialog, IDC_RATE1, "");  // refused key: no change

  Headless::AnswerNextModal(IDCANCEL);
  Headless::PressCommand(*Dialog, ID_SHIFT_DATA);
  EXPECT_EQ(g_rom.EsperTable, before);
  ExpectFieldsShow(26);

  Headless::AnswerNextModal(IDOK);
  Headless::PressCommand(*Dialog, ID_SHIFT_DATA);
  std::vector<std::uint8_t> five = SampleImage::EsperRecord({}, 26);
  for (int slot = 0; slot < 10; ++slot)
    EXPECT_EQ(g_rom.EsperTable[26][static_cast<std::size_t>(slot)], five[static_cast<std::size_t>(slot)]);
  EXPECT_EQ(g_rom.EsperTable[26][10], 0);
  EXPECT_EQ(g_rom.EsperTable[26][11], 0xFF);
  EXPECT_EQ(g_rom.EsperTable[26][12], five[10]);
  EXPECT_EQ(ShownEsper(), 26);
  ExpectFieldsShow(26);
  EXPECT_EQ(Selection(IDC_SPELL6), 0);  // the new sixth pair is empty
}

// "Shift Data?" answered every way a user can: OK clicked, or Enter (OK is its default button),
// shifts; Cancel, Escape and the close box do not. Faults: Escape or the close box taken as OK
// (the records shift), Enter or a click not reaching the button.
struct ShiftAnswer {
  const char* Name;
  void (*Answer)(CWnd& question);
  bool Shifts;
  friend void PrintTo(const ShiftAnswer& c, std::ostream* out) { *out << c.Name; }
};

class ShiftQuestion : public EditorFixture, public ::testing::WithParamInterface<ShiftAnswer> {};

TEST_P(ShiftQuestion, ShiftsOnlyWhenOkIsChosen) {
  Load(Sample(false));
  const EsperRecords before = g_rom.EsperTable;
  Headless::OnNextModal([](CDialog& question) { GetParam().Answer(question); });
  Headless::PressCommand(*Dialog, ID_SHIFT_DATA);
  EXPECT_EQ(g_rom.EsperTable != before, GetParam().Shifts);
  EXPECT_EQ(Dialog->HasUnsavedChanges(), GetParam().Shifts);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ShiftQuestion,
    ::testing::Values(ShiftAnswer{"ClickOk", [](CWnd& q) { Headless::PressButton(q, IDOK); }, true},
                      ShiftAnswer{"Enter", [](CWnd& q) { Headless::PressEnter(q); }, true},
                      ShiftAnswer{"ClickCancel", [](CWnd& q) { Headless::PressButton(q, IDCANCEL); }, false},
                      ShiftAnswer{"Escape", [](CWnd& q) { Headless::PressEscape(q); }, false},
                      ShiftAnswer{"CloseBox", [](CWnd& q) { Headless::PressCloseBox(q); }, false}),
    [](const ::testing::TestParamInfo<ShiftAnswer>& answer) { return std::string(answer.param.Name); });

// "5->6" read the records afresh from the image: an edit typed before it was gone from the
// field, the table and the saved file. The shift moves the records as edited.
TEST_F(MenuCommands, ShiftKeepsTheEditsMadeBeforeIt) {
  const std::string path = Load(Sample(false));
  Headless::TypeOver(*Dialog, IDC_RATE1, "77");
  Headless::AnswerNextModal(IDOK);
  Headless::PressCommand(*Dialog, ID_SHIFT_DATA);
  EXPECT_EQ(FieldText(IDC_RATE1), "77");
  EXPECT_EQ(g_rom.EsperTable[0][RateSlot(1)], 77);
  Headless::PressCommand(*Dialog, ID_FILE_SAVE);
  EXPECT_EQ(ReadFileBytes(path)[RomLayout::EsperDataBlock], 77);
  EXPECT_FALSE(Dialog->HasUnsavedChanges());
}

// "5->6" writes 13-byte rows: on rows of another size, Save wrote the table back in the old
// size over them; a second shift read six-slot records as five-slot ones. Both scrambled the
// block without a word; now neither runs, and no question is asked.
TEST_F(MenuCommands, ShiftRefusesRowsOfAnotherSizeAndASecondShift) {
  Bytes fourteen = Sample(true);
  fourteen[RomLayout::RecordSizeProbeA] = fourteen[RomLayout::RecordSizeProbeB] = 14;
  std::string path = Load(fourteen);
  int runs = Headless::ModalRuns();
  Headless::AnswerNextModal(IDOK);
  Headless::PressCommand(*Dialog, ID_SHIFT_DATA);
  EXPECT_EQ(Headless::ModalRuns(), runs);
  ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(Headless::MessageBoxes()[0].rfind("Could not shift " + path + ":\nits esper records are 14 bytes long", 0),
            0u)
      << Headless::MessageBoxes()[0];
  Headless::PressCommand(*Dialog, ID_FILE_SAVE);
  EXPECT_EQ(ReadFileBytes(path), fourteen);

  Headless::ClearModalScripts();
  path = Load(Sample(false), "five.smc");
  Headless::AnswerNextModal(IDOK);
  Headless::PressCommand(*Dialog, ID_SHIFT_DATA);
  Headless::PressCommand(*Dialog, ID_FILE_SAVE);
  const Bytes shiftedOnce = ReadFileBytes(path);
  runs = Headless::ModalRuns();
  Headless::AnswerNextModal(IDOK);
  Headless::PressCommand(*Dialog, ID_SHIFT_DATA);
  EXPECT_EQ(Headless::ModalRuns(), runs);
  ASSERT_EQ(Headless::MessageBoxes().size(), 2u);
  EXPECT_NE(Headless::MessageBoxes()[1].find("already shifted"), std::string::npos) << Headless::MessageBoxes()[1];
  Headless::PressCommand(*Dialog, ID_FILE_SAVE);
  EXPECT_EQ(ReadFileBytes(path), shiftedOnce);
}

TEST_F(MenuCommands, FailedLoadAfterAGoodOneKeepsTheListsAndStopsSave) {
  Bytes bytes = Sample(true);
  std::string good = Load(bytes);
  Headless::TypeOver(*Dialog, IDC_RATE1, "11");

  Headless::AnswerNextMessageBox(IDNO);  // the edit is not saved
  LoadFile(Dir.PathOf("missing.smc"));
  EXPECT_EQ(Dialog->RomLoaded, 0);
  ASSERT_EQ(Headless::MessageBoxes().size(), 2u);
  EXPECT_NE(Headless::MessageBoxes()[1].find("missing.smc"), std::string::npos);
  EXPECT_EQ(Count(IDC_ESPER), 27);
  EXPECT_EQ(Count(IDC_BONUS), 256);

  // Save and "5->6" do nothing (the fields take no input: FieldsTakeInput).
  int runs = Headless::ModalRuns();
  Headless::PressCommand(*Dialog, ID_FILE_SAVE);
  Headless::PressCommand(*Dialog, ID_SHIFT_DATA);
  EXPECT_EQ(Headless::ModalRuns(), runs);
  EXPECT_EQ(ReadFileBytes(good), bytes);
}

// Files too short are refused in HostileImagesTest, with every other length.
TEST_F(MenuCommands, LoadRefusesAReadOnlyFile) {
  std::string locked = Dir.Write("locked.smc", Sample(true));
  ReadOnlyFile readOnly(locked);
  LoadFile(locked);
  EXPECT_EQ(Dialog->RomLoaded, 0);
  ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
  EXPECT_NE(Headless::MessageBoxes()[0].find("locked.smc"), std::string::npos);
}

TEST_F(MenuCommands, FailedSaveSaysWhy) {
  std::string path = Load(Sample(true));
  std::filesystem::remove(path);
  Headless::PressCommand(*Dialog, ID_FILE_SAVE);
  ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
  EXPECT_NE(Headless::MessageBoxes()[0].find("Could not save"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(path));
}

// Both ways of saving: a new file beside (left unfinished) and, for a file with a second link,
// the runs written into it (put back).
TEST_F(MenuCommands, ADiskThatFailsMidSaveIsReportedAndTheFileKept) {
  for (const char* says : {"left as it is", "put back as it was"}) {
    Headless::ClearMessageBoxes();
    Bytes bytes = Sample(true);
    std::string path = Load(bytes);
    if (says[0] == 'p') std::filesystem::create_hard_link(path, Dir.PathOf("second.smc"));
    Headless::TypeOver(*Dialog, IDC_RATE1, "99");
    {
      FaultingFileSystem faults;
      faults.Arm(FaultingFileSystem::Operation::Write, 1);
      Headless::PressCommand(*Dialog, ID_FILE_SAVE);
    }
    ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
    EXPECT_NE(Headless::MessageBoxes()[0].find(says), std::string::npos) << Headless::MessageBoxes()[0];
    EXPECT_EQ(ReadFileBytes(path), bytes);

    Headless::PressCommand(*Dialog, ID_FILE_SAVE);  // the editor goes on: the next Save works
    EXPECT_EQ(ReadFileBytes(path)[RomLayout::EsperDataBlock], 99);
    EXPECT_EQ(Headless::MessageBoxes().size(), 1u);
  }
}

}  // namespace
