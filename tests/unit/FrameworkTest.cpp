// The framework rules the editor relies on: no handler runs while UpdateData writes into the
// controls, the exchange's parse and range failures, and reflection keeping a notification
// from the parent.

#include <gtest/gtest.h>

#include <functional>

#include "TestDialog.h"
#include "framework/Backend.h"

namespace {

class Framework : public ::testing::Test {
 protected:
  void SetUp() override {
    Headless::ClearMessageBoxes();
    ASSERT_TRUE(Headless::Open(Dialog));
  }
  std::string Text(int id) { return Headless::Control(Dialog, id)->Text; }

  TestDialog Dialog;
};

// WM_SETTEXT on an edit sends EN_CHANGE, as under Wine (fault: a model that does not, which
// would hide a framework that forgets to lock the handlers out while UpdateData writes).
TEST_F(Framework, UpdateDataStartsNoHandlerButTheUserDoes) {
  EXPECT_EQ(Text(TestDialog::FirstRateId), "0");  // the first exchange ran at WM_INITDIALOG
  Dialog.SendDlgItemMessage(TestDialog::FirstRateId, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("5"));
  EXPECT_EQ(Dialog.FirstRateChanges, 1);
  Dialog.FirstRate = 77;
  Dialog.UpdateData(FALSE);
  EXPECT_EQ(Text(TestDialog::FirstRateId), "77");
  EXPECT_EQ(Dialog.FirstRateChanges, 1);

  Headless::TypeOver(Dialog, TestDialog::FirstRateId, "1x2");  // the letter is refused
  EXPECT_EQ(Text(TestDialog::FirstRateId), "12");
  EXPECT_EQ(Dialog.FirstRateChanges, 3);
}

// Keys in an edit as Windows' edit takes them, where the caret is. Faults: Backspace at the
// start reaching before the text (a crash), a selection not replaced, a change not notified
// or one notified that changed nothing.
struct EditKeys {
  const char* Name;
  std::string Text;
  int Start, End;  // the selection before the keys
  std::string Keys;
  std::string Shown;
  int Caret;
  int Changes;  // EN_CHANGE
  friend void PrintTo(const EditKeys& c, std::ostream* out) { *out << c.Name; }
};

class EditTyping : public Framework, public ::testing::WithParamInterface<EditKeys> {};

TEST_P(EditTyping, KeysGoInAtTheCaret) {
  const EditKeys& c = GetParam();
  Headless::PasteText(Dialog, TestDialog::FirstRateId, c.Text);
  Headless::MoveCaret(Dialog, TestDialog::FirstRateId, c.Start, c.End);
  Dialog.FirstRateChanges = 0;
  Headless::TypeText(Dialog, TestDialog::FirstRateId, c.Keys);
  HWND__* edit = Headless::Control(Dialog, TestDialog::FirstRateId);
  EXPECT_EQ(edit->Text, c.Shown);
  EXPECT_EQ(edit->SelStart, c.Caret);
  EXPECT_EQ(edit->SelEnd, c.Caret);
  EXPECT_EQ(Dialog.FirstRateChanges, c.Changes);
}

INSTANTIATE_TEST_SUITE_P(Keys, EditTyping,
                         ::testing::Values(EditKeys{"BackspaceInAnEmptyField", "", 0, 0, "\b\b", "", 0, 0},
                                           EditKeys{"BackspaceAtTheStart", "12", 0, 0, "\b", "12", 0, 0},
                                           EditKeys{"BackspaceBeforeTheCaret", "123", 2, 2, "\b", "13", 1, 1},
                                           EditKeys{"BackspaceTakesTheSelection", "123", 0, 2, "\b", "3", 0, 1},
                                           EditKeys{"ADigitReplacesTheSelection", "123", 3, 1, "9", "19", 2, 1},
                                           EditKeys{"ALetterIsRefused", "12", 1, 1, "a", "12", 1, 0}),
                         [](const ::testing::TestParamInfo<EditKeys>& keys) { return std::string(keys.param.Name); });

// Windows' rules for a disabled window, which the model follows: no focus (the focus it had
// goes to no window, as measured under Wine), no keys, no picks, passed by Tab; the dialog's
// first focus skips it. Faults: a disabled control typed into or focused.
TEST_F(Framework, ADisabledControlTakesNoInputAndNoFocus) {
  HWND__* first = Headless::Control(Dialog, TestDialog::FirstRateId);
  Headless::TabInto(Dialog, TestDialog::FirstRateId);
  EXPECT_FALSE(Dialog.EnableDlgItem(TestDialog::FirstRateId, FALSE));  // it was enabled
  EXPECT_EQ(Headless::FocusedWindow(), nullptr);
  CWnd control;
  control.Attach(first);
  control.SetFocus();
  EXPECT_EQ(Headless::FocusedWindow(), nullptr);
  control.Detach();
  Headless::TypeText(Dialog, TestDialog::FirstRateId, "7");
  Headless::PasteText(Dialog, TestDialog::FirstRateId, "8");
  EXPECT_EQ(first->Text, "0");
  Headless::PressTab(Dialog);
  EXPECT_EQ(Headless::FocusedWindow(), Headless::Control(Dialog, TestDialog::BoxId));
  Headless::PressTab(Dialog);
  EXPECT_EQ(Headless::FocusedWindow(), Headless::Control(Dialog, TestDialog::SecondRateId));
  EXPECT_TRUE(Dialog.EnableDlgItem(TestDialog::FirstRateId, TRUE));  // it was disabled

  // A template's WS_DISABLED: the first tab stop that takes input gets the focus.
  TestDialog disabledBox;
  Headless::Close(Dialog);
  Headless::DialogTemplate t = *Headless::FindTemplate(TestDialog::Template);
  t.Controls[0].Style |= WS_DISABLED;
  Headless::RegisterTemplate(TestDialog::Template, t);
  ASSERT_TRUE(Headless::Open(disabledBox));
  EXPECT_EQ(Headless::FocusedWindow(), Headless::Control(disabledBox, TestDialog::FirstRateId));
  Headless::PickItem(disabledBox, TestDialog::BoxId, 0);
  EXPECT_EQ(disabledBox.SelectionChanges, 0);
  TestDialog::Register();
}

TEST_F(Framework, ParseFailureKeepsTheMemberPromptsAndStopsAtThatField) {
  Dialog.FirstRate = 5;
  Dialog.SecondRate = 6;
  Headless::PasteText(Dialog, TestDialog::FirstRateId, "12ab");
  Headless::PasteText(Dialog, TestDialog::SecondRateId, "9");
  EXPECT_FALSE(Dialog.UpdateData(TRUE));
  EXPECT_EQ(Dialog.FirstRate, 5u);
  EXPECT_EQ(Dialog.SecondRate, 6u);  // never reached
  ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(Headless::MessageBoxes()[0], FrameworkPrompt::ParseUInt);

  for (const char* bad : {"", " ", "-1", "+1", "4294967296", "1 2"}) {
    Headless::PasteText(Dialog, TestDialog::FirstRateId, bad);
    EXPECT_FALSE(Dialog.UpdateData(TRUE)) << '"' << bad << '"';
  }
  Headless::PasteText(Dialog, TestDialog::FirstRateId, " 42 ");
  EXPECT_TRUE(Dialog.UpdateData(TRUE));
  EXPECT_EQ(Dialog.FirstRate, 42u);
}

TEST_F(Framework, RangeFailureLeavesTheRejectedValueInTheMember) {
  Headless::PasteText(Dialog, TestDialog::FirstRateId, "300");
  Headless::PasteText(Dialog, TestDialog::SecondRateId, "9");
  EXPECT_FALSE(Dialog.UpdateData(TRUE));
  EXPECT_EQ(Dialog.FirstRate, 300u);
  EXPECT_EQ(Dialog.SecondRate, 0u);
  ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(Headless::MessageBoxes()[0], "Please enter an integer between 0 and 255.");
}

TEST_F(Framework, EnterEndsTheDialogOnlyWhenEveryFieldIsValid) {
  Headless::PasteText(Dialog, TestDialog::SecondRateId, "256");
  Headless::PressCommand(Dialog, IDOK);
  EXPECT_FALSE(Dialog.m_hWnd->Ended);
  Headless::PasteText(Dialog, TestDialog::SecondRateId, "255");
  Headless::PressCommand(Dialog, IDOK);
  EXPECT_TRUE(Dialog.m_hWnd->Ended);
  EXPECT_EQ(Dialog.m_hWnd->Result, IDOK);
}

TEST_F(Framework, ReflectedSelendokStaysWithTheControlAndSelchangeReachesTheParent) {
  for (const char* name : {"\x80", "\x81", "\x82"}) Dialog.Box.AddString(name);
  Headless::PickItem(Dialog, TestDialog::BoxId, 2);
  EXPECT_EQ(Dialog.SelendokSeenByParent, 0);
  EXPECT_EQ(Dialog.SelectionChanges, 1);
  EXPECT_EQ(Dialog.Box.RememberedIndex, 2);
}

TEST_F(Framework, ComboItemsKeepEveryByteAndOwnerDrawnItemsAre12High) {
  const int lookups = Headless::ControlLookups();
  for (int byte = 1; byte < 256; ++byte) {
    const char text[3] = {static_cast<char>(byte), static_cast<char>(256 - byte), 0};
    ASSERT_EQ(Dialog.Box.AddString(text), byte - 1);
  }
  for (int byte = 1; byte < 256; ++byte) {
    CString text;
    Dialog.Box.GetLBText(byte - 1, text);
    ASSERT_EQ(text.GetLength(), 2);
    EXPECT_EQ(text.GetAt(0), byte);
    EXPECT_EQ(text.GetAt(1), 256 - byte);
  }
  for (UINT height : Headless::Control(Dialog, TestDialog::BoxId)->ItemHeights) EXPECT_EQ(height, 12u);
  // Fault: the control asked of the platform per WM_MEASUREITEM or WM_DRAWITEM (a dropped list).
  for (int index = 0; index < 255; ++index)
    Headless::DrawComboItem(Dialog, TestDialog::BoxId, index, 0, RECT{0, 0, 100, 12}, nullptr);
  EXPECT_EQ(Headless::ControlLookups(), lookups);

  Dialog.Box.ResetContent();
  EXPECT_EQ(Dialog.Box.GetCount(), 0);
  EXPECT_EQ(Dialog.Box.GetCurSel(), CB_ERR);
}

TEST_F(Framework, ModalDialogsAreAnsweredByTheirScript) {
  TestDialog nested;
  Headless::AnswerNextModal(IDCANCEL);
  EXPECT_EQ(nested.DoModal(), IDCANCEL);
  Headless::AnswerNextModal(IDOK);
  EXPECT_EQ(nested.DoModal(), IDOK);
  EXPECT_EQ(nested.DoModal(), IDCANCEL);  // no script: the user closed it
  EXPECT_EQ(nested.m_hWnd, nullptr);
  EXPECT_EQ(nested.Box.m_hWnd, nullptr);  // detached with its dialog
}

// A dialog of two drop-down lists, one owner-drawn whose owner answers no measure question
// and one plain, that logs the messages it gets.
class LoggingDialog : public CDialog {
 public:
  static constexpr UINT Template = 901;
  static constexpr int OwnerDrawnId = 1100, PlainId = 1101;
  LoggingDialog() : CDialog(Template) {
    Headless::DialogTemplate t;
    t.Caption = "Log";
    t.Controls = {{OwnerDrawnId, "ComboBox", 0x50210A23, "", 0, 0, 40, 80},
                  {PlainId, "ComboBox", 0x50210003, "", 0, 0, 40, 80}};
    Headless::RegisterTemplate(Template, t);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_MEASUREITEM)
      Log.push_back(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemID == static_cast<UINT>(-1) ? "measure field"
                                                                                                  : "measure item");
    if (message == WM_INITDIALOG) Log.push_back("init");
    if (message == WM_COMMAND && lParam) Notified.push_back(HIWORD(wParam));
    return CDialog::WindowProc(message, wParam, lParam);
  }
  std::vector<std::string> Log;
  std::vector<UINT> Notified;  // the boxes' notifications
};

// As Windows builds a dialog and fills its lists: only owner-drawn boxes are measured, their
// selection field before WM_INITDIALOG, and an owner that does not answer keeps the height
// the system offers (faults: every box measured, the field measured after the dialog's own
// initialisation ran, another height offered than Windows offers).
TEST(DialogBuild, MeasuresOwnerDrawnBoxesAsWindowsDoes) {
  LoggingDialog dialog;
  ASSERT_TRUE(Headless::Open(dialog));
  EXPECT_EQ(dialog.Log, (std::vector<std::string>{"measure field", "init"}));
  HWND__* ownerDrawn = Headless::Control(dialog, LoggingDialog::OwnerDrawnId);
  HWND__* plain = Headless::Control(dialog, LoggingDialog::PlainId);
  EXPECT_EQ(ownerDrawn->FieldHeight, 14u);  // as Wine offers them (tests/wine/combo_smoke)
  for (HWND__* box : {ownerDrawn, plain}) Backend::AddItem(box, "A");
  EXPECT_EQ(ownerDrawn->ItemHeights, std::vector<UINT>{16});
  EXPECT_EQ(plain->ItemHeights, std::vector<UINT>{0});  // never asked
  EXPECT_EQ(dialog.Log.size(), 3u);
  Headless::Close(dialog);
}

// What the user does to a drop-down list, as the dialog hears of it: the notifications in the
// order Windows sends them (measured under Wine), none from a disabled box. Faults: a
// notification missing or out of order, a close without a pick taken as one, a key at the
// list's end that says nothing (Windows notifies it again).
struct ListInput {
  const char* Name;
  std::function<void(LoggingDialog&)> Act;
  std::vector<UINT> Notified;
  int Selection;
  friend void PrintTo(const ListInput& c, std::ostream* out) { *out << c.Name; }
};

class ListNotifications : public ::testing::TestWithParam<ListInput> {};

TEST_P(ListNotifications, ComeInWindowsOrder) {
  LoggingDialog dialog;
  ASSERT_TRUE(Headless::Open(dialog));
  HWND__* box = Headless::Control(dialog, LoggingDialog::OwnerDrawnId);
  for (int i = 0; i < 10; ++i) Backend::AddItem(box, "A");
  Backend::Send(box, CB_SETCURSEL, 1, 0);
  GetParam().Act(dialog);
  EXPECT_EQ(dialog.Notified, GetParam().Notified);
  EXPECT_EQ(box->Selection, GetParam().Selection);
  Headless::Close(dialog);
}

constexpr int Box = LoggingDialog::OwnerDrawnId;
INSTANTIATE_TEST_SUITE_P(Input, ListNotifications,
                         ::testing::Values(ListInput{"MousePick",
                                                     [](LoggingDialog& d) { Headless::PickItem(d, Box, 4); },
                                                     {CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE},
                                                     4},
                                           ListInput{"DroppedAndClosedWithoutAPick",
                                                     [](LoggingDialog& d) {
                                                       Headless::DropList(d, Box);
                                                       Headless::CloseList(d, Box);
                                                     },
                                                     {CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP},
                                                     1},
                                           ListInput{"KeyOnTheClosedBox",
                                                     [](LoggingDialog& d) { Headless::PressListKey(d, Box, VK_DOWN); },
                                                     {CBN_SELENDOK, CBN_SELCHANGE},
                                                     2},
                                           ListInput{"KeyAtTheEnd",
                                                     [](LoggingDialog& d) {
                                                       Headless::PressListKey(d, Box, VK_UP);
                                                       Headless::PressListKey(d, Box, VK_UP);
                                                     },
                                                     {CBN_SELENDOK, CBN_SELCHANGE, CBN_SELENDOK, CBN_SELCHANGE},
                                                     0},
                                           ListInput{"DisabledBox",
                                                     [](LoggingDialog& d) {
                                                       d.EnableDlgItem(Box, FALSE);
                                                       Headless::PickItem(d, Box, 4);
                                                       Headless::PressListKey(d, Box, VK_DOWN);
                                                     },
                                                     {},
                                                     1}),
                         [](const ::testing::TestParamInfo<ListInput>& input) {
                           return std::string(input.param.Name);
                         });

// A dialog already running is not run again (fault: a second modal loop over the same
// windows and objects), as DoModal refuses it on Windows.
TEST(DialogBuild, ARunningDialogIsNotRunAgain) {
  TestDialog dialog;
  INT_PTR inner = 0;
  Headless::OnNextModal([&](CDialog& running) {
    inner = running.DoModal();
    Headless::PressCommand(running, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(inner, -1);
}

}  // namespace
