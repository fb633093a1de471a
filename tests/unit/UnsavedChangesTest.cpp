// Nothing the user changed is lost without a question: each way out of the editor, and Load,
// asks "Save changes to NAME?" while changes are unsaved, and does what the answer says; and
// what is unsaved when the editor is killed comes back at the next Load of the image.

#include <filesystem>
#include <fstream>

#include "EditorFixture.h"
#include "framework/FolderStateFolder.h"
#include "rom/EditRecovery.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

enum class Action { Exit, Enter, Escape, Load, EndSession };
enum class State { Unchanged, Edited, EditUndone, Shifted, Saved, LoadFailed };

struct Case {
  Action Act;
  State Before;
  int Answer;  // 0: no question is due, none is answered
  friend void PrintTo(const Case& c, std::ostream* out) {
    static const char* const actions[] = {"Exit", "Enter", "Escape", "Load", "EndSession"};
    static const char* const states[] = {"Unchanged", "Edited", "EditUndone", "Shifted", "Saved", "LoadFailed"};
    *out << actions[static_cast<int>(c.Act)] << "_" << states[static_cast<int>(c.Before)] << "_"
         << (c.Answer == IDYES      ? "Yes"
             : c.Answer == IDNO     ? "No"
             : c.Answer == IDCANCEL ? "Cancel"
                                    : "NoQuestion");
  }
};

bool QuestionDue(State state) { return state == State::Edited || state == State::Shifted; }

std::optional<std::string> RecoveryOf(const std::string& path) {
  return Headless::StateFiles().Read(EditRecovery::FileNameFor(CString(path)));
}

class UnsavedChanges : public EditorFixture, public ::testing::WithParamInterface<Case> {
 protected:
  // Brings the editor into the state; returns the file's bytes as they then are.
  Bytes Prepare(State state) {
    Path = Load(state == State::Shifted ? ShiftProofFiveSlot() : Sample(true), "sample.smc");
    switch (state) {
      case State::Unchanged: break;
      case State::Edited: Headless::TypeOver(*Dialog, IDC_RATE1, "77"); break;
      case State::EditUndone: {
        const std::string before = FieldText(IDC_RATE1);
        Headless::TypeOver(*Dialog, IDC_RATE1, "77");
        Headless::PickItem(*Dialog, IDC_SPELL2, 0);
        Headless::TypeOver(*Dialog, IDC_RATE1, before);
        Headless::PickItem(*Dialog, IDC_SPELL2, ((g_rom.EsperTable[0][SpellSlot(2)] + 1) & 0xFF));
        break;
      }
      case State::Shifted:
        Headless::AnswerNextModal(IDOK);
        Headless::PressCommand(*Dialog, ID_SHIFT_DATA);
        break;
      case State::Saved:
        Headless::TypeOver(*Dialog, IDC_RATE1, "77");
        Headless::PressCommand(*Dialog, ID_FILE_SAVE);
        break;
      case State::LoadFailed:
        Headless::TypeOver(*Dialog, IDC_RATE1, "77");
        Headless::AnswerNextMessageBox(IDNO);
        LoadFile(Dir.PathOf("missing.smc"));
        break;
    }
    Headless::ClearMessageBoxes();
    Headless::ClearFileDialogAnswers();
    return ReadFileBytes(Path);
  }

  // A five-slot image whose records "5->6" turns into the very rows the table already holds:
  // then only the shift having run says there is something to save.
  static Bytes ShiftProofFiveSlot() {
    Bytes image = Sample(false);
    std::uint8_t* block = image.data() + RomLayout::EsperDataBlock;
    for (std::size_t p = 0; p < 27 * 13; ++p) {  // row i, slot k as read before the shift
      const std::size_t i = p / 13, k = p % 13;
      block[p] = static_cast<std::uint8_t>(k == 10   ? 0
                                           : k == 11 ? 0xFF
                                           : k == 12 ? block[11 * i + 10]
                                           : i == 0  ? 7 * k + 1
                                                     : block[11 * i + k]);
    }
    return image;
  }

  void Act(Action action) {
    switch (action) {
      case Action::Exit: Headless::PressCommand(*Dialog, ID_FILE_EXIT); break;
      case Action::Enter:
        Headless::TabInto(*Dialog, IDC_RATE2);
        Headless::PressCommand(*Dialog, IDOK);
        break;
      case Action::Escape: Headless::PressCommand(*Dialog, IDCANCEL); break;
      case Action::Load:
        Headless::CancelFileDialog();
        Headless::PressCommand(*Dialog, ID_FILE_LOAD);
        break;
      case Action::EndSession: SessionMayEnd = Dialog->SendMessage(WM_QUERYENDSESSION) != 0; break;
    }
  }

  // The dialog ended, for Load its file dialog opened, for the session's end it may end.
  bool WentOn(Action action) {
    if (action == Action::Load) return Headless::FileDialogAnswersLeft() == 0;
    if (action == Action::EndSession) return SessionMayEnd;
    return Dialog->m_hWnd->Ended;
  }

  std::string Path;
  bool SessionMayEnd = false;
};

// Faults: a question missing on any path (edits lost), asked with nothing to save (an edit
// undone, the patch Load applies, after Save, after a failed Load), an answer not obeyed
// (Yes that does not save, No that does not go on, Cancel that goes on anyway).
TEST_P(UnsavedChanges, AskOnlyWhenChangesWouldBeLostAndObeyTheAnswer) {
  const Case c = GetParam();
  const Bytes before = Prepare(c.Before);
  // Also: a recovery missing while changes are unsaved, or left behind once none are.
  EXPECT_EQ(RecoveryOf(Path).has_value(), QuestionDue(c.Before));
  if (c.Answer) Headless::AnswerNextMessageBox(c.Answer);
  Act(c.Act);

  const bool asked = QuestionDue(c.Before);
  const auto& log = Headless::MessageBoxLog();
  ASSERT_EQ(log.size(), asked ? 1u : 0u);
  if (asked) {
    EXPECT_EQ(log[0].Text, "Save changes to sample.smc?");
    EXPECT_EQ(log[0].Type, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONWARNING));
  }
  EXPECT_EQ(WentOn(c.Act), !asked || c.Answer != IDCANCEL);
  const bool ends = c.Act == Action::Exit || c.Act == Action::Enter || c.Act == Action::Escape;
  if (ends && WentOn(c.Act)) {
    EXPECT_EQ(Dialog->m_hWnd->Result, c.Act == Action::Escape ? IDCANCEL : IDOK);
  }

  const Bytes after = ReadFileBytes(Path);
  if (c.Answer != IDYES) {
    EXPECT_EQ(after, before);
  } else if (c.Before == State::Edited) {
    EXPECT_EQ(after[RomLayout::EsperDataBlock], 77);  // rate 1 of esper 0
  } else {                                            // the six-slot code, and the records as they were
    EXPECT_EQ(after[RomLayout::RecordSizeProbeA], 0x0D);
    EXPECT_TRUE(std::equal(after.begin() + RomLayout::EsperDataBlock, after.begin() + RomLayout::EsperDataBlock + 351,
                           before.begin() + RomLayout::EsperDataBlock));
  }
  if (c.Answer == IDCANCEL || c.Answer == IDYES) {
    EXPECT_EQ(Dialog->HasUnsavedChanges(), c.Answer == IDCANCEL);
  }
  // Saved or declined: nothing to offer at the next start. Cancelled: still unsaved, still kept.
  EXPECT_EQ(RecoveryOf(Path).has_value(), c.Answer == IDCANCEL);
}

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  for (Action act : {Action::Exit, Action::Enter, Action::Escape, Action::Load, Action::EndSession})
    for (State state :
         {State::Unchanged, State::Edited, State::EditUndone, State::Shifted, State::Saved, State::LoadFailed}) {
      if (!QuestionDue(state))
        cases.push_back({act, state, 0});
      else
        for (int answer : {IDYES, IDNO, IDCANCEL}) cases.push_back({act, state, answer});
    }
  return cases;
}

// A case's name in the test list is what PrintTo writes of it.
template <typename Param>
std::string PrintedName(const ::testing::TestParamInfo<Param>& param) {
  std::ostringstream name;
  PrintTo(param.param, &name);
  return name.str();
}

INSTANTIATE_TEST_SUITE_P(Paths, UnsavedChanges, ::testing::ValuesIn(AllCases()), PrintedName<Case>);

class UnsavedChangesSaveFails : public EditorFixture {};

// Yes, then a Save that fails: its message, and the editor stays with every edit (a save
// that fails and ends the editor anyway would lose them all).
TEST_F(UnsavedChangesSaveFails, KeepsTheEditorOpenAndEveryEdit) {
  const std::string path = Load(Sample(true), "sample.smc");
  Headless::TypeOver(*Dialog, IDC_RATE1, "77");
  std::filesystem::remove(path);
  for (int command : {ID_FILE_EXIT, IDOK, IDCANCEL}) {
    Headless::ClearMessageBoxes();
    Headless::AnswerNextMessageBox(IDYES);
    Headless::PressCommand(*Dialog, command);
    ASSERT_EQ(Headless::MessageBoxes().size(), 2u) << command;
    EXPECT_EQ(Headless::MessageBoxes()[1].rfind("Could not save " + path + ":", 0), 0u) << Headless::MessageBoxes()[1];
    EXPECT_FALSE(Dialog->m_hWnd->Ended) << command;
    EXPECT_EQ(g_rom.EsperTable[0][0], 77);
    EXPECT_TRUE(Dialog->HasUnsavedChanges());
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

// Unsaved edits outlive a kill: the next Load of the image offers them back, and applies them
// only to the very file they were made on.
enum class Before { Edited, EditedThenShifted, SavedThenEdited };
enum class Disk { Same, Changed };

struct RecoveryCase {
  Before Made;
  Disk File;
  int Answer;  // to "Recover ...?"; 0 where none is due
  friend void PrintTo(const RecoveryCase& c, std::ostream* out) {
    static const char* const made[] = {"Edited", "EditedThenShifted", "SavedThenEdited"};
    *out << made[static_cast<int>(c.Made)] << (c.File == Disk::Same ? "_FileSame_" : "_FileChanged")
         << (c.Answer == IDYES  ? "Yes"
             : c.Answer == IDNO ? "No"
                                : "");
  }
};

class Recovery : public EditorFixture, public ::testing::WithParamInterface<RecoveryCase> {
 protected:
  // The editor ends as a kill ends it, with no question, and starts again.
  void KillAndRestart() {
    Headless::Close(*Dialog);
    g_rom.RecordSize = 11;
    g_rom.EsperTable = {};
    Dialog = std::make_unique<CEditorDlg>();
    ASSERT_TRUE(Headless::Open(*Dialog));
    Headless::ClearMessageBoxes();
  }
  static bool SameRecords(const EsperRecords& a, const EsperRecords& b) {
    for (int e = 0; e < RomLayout::EsperCount; ++e)
      for (int slot = 0; slot < EditRecovery::KeptSlots; ++slot)
        if (a[e][slot] != b[e][slot]) return false;
    return true;
  }
};

// Faults: edits lost by a kill (nothing kept, or kept without the shift or a second record),
// a recovery made before a Save tied to the file as loaded (then never offered), edits applied
// to a file that changed since (wrong records), a No that leaves the recovery to come back, a
// stale recovery deleted instead of set aside.
TEST_P(Recovery, OffersTheEditsBackOnlyForTheSameFile) {
  const RecoveryCase c = GetParam();
  const std::string path = Load(Sample(false), "sample.smc");
  Headless::TypeOver(*Dialog, IDC_RATE1, "77");
  if (c.Made == Before::SavedThenEdited) {
    Headless::PressCommand(*Dialog, ID_FILE_SAVE);
    Headless::TypeOver(*Dialog, IDC_RATE1, "78");
  }
  if (c.Made == Before::EditedThenShifted) {
    Headless::AnswerNextModal(IDOK);
    Headless::PressCommand(*Dialog, ID_SHIFT_DATA);
  }
  Headless::PickItem(*Dialog, IDC_ESPER, 26);
  Headless::PickItem(*Dialog, IDC_SPELL6, 0);
  const EsperRecords atKill = g_rom.EsperTable;
  const std::string kept = *RecoveryOf(path);

  KillAndRestart();
  if (c.File == Disk::Changed) std::ofstream(path, std::ios::in | std::ios::out | std::ios::binary).put('\x5A');
  if (c.Answer) Headless::AnswerNextMessageBox(c.Answer);
  LoadFile(path);

  const auto& log = Headless::MessageBoxLog();
  ASSERT_EQ(log.size(), 1u);
  const bool recovered = c.File == Disk::Same && c.Answer == IDYES;
  EXPECT_EQ(SameRecords(g_rom.EsperTable, atKill), recovered);
  EXPECT_EQ(Dialog->HasUnsavedChanges(), recovered);
  if (c.File == Disk::Same) {
    EXPECT_EQ(log[0].Text, "Recover the unsaved changes to sample.smc?");
    EXPECT_EQ(log[0].Type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(RecoveryOf(path).has_value(), recovered);
    if (recovered) {
      ExpectFieldsShow(0);
      // A recovered shift counts as run: a second one would read six-slot rows as five-slot.
      EXPECT_EQ(g_rom.CheckShift(), c.Made != Before::EditedThenShifted);
    }
  } else {
    EXPECT_EQ(log[0].Text.rfind("The unsaved changes to sample.smc kept from an earlier session no longer match", 0),
              0u)
        << log[0].Text;
    EXPECT_FALSE(RecoveryOf(path));
    EXPECT_EQ(Headless::StateFiles().Read(EditRecovery::FileNameFor(CString(path)) + CString(".1")), kept);
  }
}

std::vector<RecoveryCase> RecoveryCases() {
  std::vector<RecoveryCase> cases;
  for (Before made : {Before::Edited, Before::EditedThenShifted, Before::SavedThenEdited}) {
    cases.push_back({made, Disk::Same, IDYES});
    cases.push_back({made, Disk::Same, IDNO});
    cases.push_back({made, Disk::Changed, 0});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(AfterAKill, Recovery, ::testing::ValuesIn(RecoveryCases()), PrintedName<RecoveryCase>);

// A recovery reads back as written, whatever the path holds, and any text that is not a whole
// one of this version is refused rather than half applied. Faults: a path cut at a newline or
// misread at a backslash; a recovery cut short (a file read half-way) taken for one with fewer
// edits; an esper past the table's rows written into; another version's layout misread.
TEST(RecoveryText, ReadsBackWhatWasWrittenAndRefusesAnythingElse) {
  EsperRecords now{}, saved{};
  now[3][0] = 77;
  now[26][BonusSlot] = 0xFF;
  const EditRecovery written =
      EditRecovery::Of(CString("/a\\b\n\x7F\xC3\xA4.smc"), {3145728, 0x0123456789ABCDEF}, false, now, saved);
  const std::string text = written.Text();
  const std::optional<EditRecovery> read = EditRecovery::Parse(text);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->Path.Str(), written.Path.Str());
  EXPECT_EQ(read->Image, written.Image);
  EXPECT_EQ(read->Records, written.Records);
  ASSERT_EQ(read->Records.size(), 2u);

  for (std::size_t length = 0; length < text.size(); ++length)
    EXPECT_FALSE(EditRecovery::Parse(text.substr(0, length))) << "cut to " << length;
  const std::pair<std::string, std::string> spoilt[] = {
      {"recovery 1", "recovery 2"},
      {"record 3 ", "record 31 "},
      {"record 26 ", "record 3 "},
      {"shifted 0", "shifted 2"},
      {"hash 0123456789ABCDEF", "hash 0123456789ABCDE"},
      {"\nend\n", "0\nend\n"},
      {"image /a\\x5Cb", "image /a\\b"},
  };
  for (const auto& [from, to] : spoilt) {
    std::string changed = text;
    ASSERT_NE(changed.find(from), std::string::npos) << from;
    changed.replace(changed.find(from), from.size(), to);
    EXPECT_FALSE(EditRecovery::Parse(changed)) << from << " -> " << to;
  }
}

// The state folder on disk, as tavero and TAVERO.EXE keep it. Faults: a write that leaves its
// temporary beside, or fails on an existing file; a second recovery set aside over the first
// (rename replacing NAME.1), which deletes edits the user was told are kept.
TEST(RecoveryFolderOnDisk, ReplacesWholeAndSetsAsideWithoutOverwriting) {
  TempDir dir;
  FolderStateFolder folder(CString(dir.PathOf("state/tavero")));
  CString why;
  for (const char* text : {"first\n", "second\n"}) ASSERT_TRUE(folder.Write("r.txt", text, why)) << why.Str();
  EXPECT_EQ(folder.Read("r.txt"), "second\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.PathOf("state/tavero")), {}), 1);
  EXPECT_EQ(folder.SetAside("r.txt"), CString("r.txt.1"));
  ASSERT_TRUE(folder.Write("r.txt", "third\n", why));
  EXPECT_EQ(folder.SetAside("r.txt"), CString("r.txt.2"));
  EXPECT_EQ(folder.Read("r.txt.1"), "second\n");
  EXPECT_EQ(folder.Read("r.txt.2"), "third\n");
  EXPECT_FALSE(folder.Read("r.txt"));
  folder.Remove("r.txt.1");
  EXPECT_FALSE(folder.Read("r.txt.1"));
}

}  // namespace

namespace {

// Another program wrote the file after Load, and the editor is to save. Faults: a save that
// writes over that change without a question (reverting it), a No that writes all the same,
// ends the editor or drops the edits, a Yes that does not save the image as held.
struct ChangedCase {
  const char* Name;
  int Command;  // Save, or Exit answered Yes to "Save changes to NAME?"
  int Answer;
  friend void PrintTo(const ChangedCase& c, std::ostream* out) { *out << c.Name; }
};

class ChangedOnDisk : public EditorFixture, public ::testing::WithParamInterface<ChangedCase> {};

TEST_P(ChangedOnDisk, AsksBeforeSavingOverAnotherProgramsChange) {
  const ChangedCase c = GetParam();
  const Bytes image = Sample(true);
  const std::string path = Load(image, "sample.smc");
  Headless::TypeOver(*Dialog, IDC_RATE1, "77");
  Bytes other = image;
  other[RomLayout::EsperDataBlock + 13] ^= 0x5A;  // esper 1's first rate
  Dir.Write("sample.smc", other);

  const bool viaQuestion = c.Command != ID_FILE_SAVE;
  if (viaQuestion) Headless::AnswerNextMessageBox(IDYES);
  Headless::AnswerNextMessageBox(c.Answer);
  Headless::PressCommand(*Dialog, c.Command);

  const auto& log = Headless::MessageBoxLog();
  ASSERT_EQ(log.size(), viaQuestion ? 2u : 1u);
  EXPECT_EQ(log.back().Text, "sample.smc has changed on disk since it was loaded. Save over it?");
  EXPECT_EQ(log.back().Type, static_cast<UINT>(MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2));
  const Bytes after = ReadFileBytes(path);
  if (c.Answer == IDYES) {
    EXPECT_EQ(after[RomLayout::EsperDataBlock], 77);
    EXPECT_EQ(after[RomLayout::EsperDataBlock + 13], image[RomLayout::EsperDataBlock + 13]);  // the image as held
  } else {
    EXPECT_EQ(after, other);
    EXPECT_EQ(g_rom.EsperTable[0][0], 77);
  }
  EXPECT_EQ(Dialog->HasUnsavedChanges(), c.Answer == IDNO);
  EXPECT_EQ(Dialog->m_hWnd->Ended, viaQuestion && c.Answer == IDYES);
}

INSTANTIATE_TEST_SUITE_P(Answers, ChangedOnDisk,
                         ::testing::Values(ChangedCase{"SaveYes", ID_FILE_SAVE, IDYES},
                                           ChangedCase{"SaveNo", ID_FILE_SAVE, IDNO},
                                           ChangedCase{"ExitYes", ID_FILE_EXIT, IDYES},
                                           ChangedCase{"ExitNo", ID_FILE_EXIT, IDNO}),
                         [](const ::testing::TestParamInfo<ChangedCase>& c) { return std::string(c.param.Name); });

}  // namespace
