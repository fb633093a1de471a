// Nothing the user changed is lost without a question: each way out of the editor, and Load,
// asks "Save changes to NAME?" while changes are unsaved, and does what the answer says.

#include <filesystem>

#include "EditorFixture.h"

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

INSTANTIATE_TEST_SUITE_P(Paths, UnsavedChanges, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<Case>& param) {
                           std::ostringstream name;
                           PrintTo(param.param, &name);
                           return name.str();
                         });

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
