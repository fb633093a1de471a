// Driving the in-memory windows as a user would: every input goes through the window model's
// user input, and message boxes are answered as the test queued, on the form the model gives.

#include "framework/headless/HeadlessUser.h"

#include <algorithm>
#include <deque>

#include "framework/Backend.h"
#include "framework/model/ModelBackend.h"

namespace Headless {

namespace {
std::vector<std::string> Texts;
std::vector<ShownMessageBox> Boxes;
std::deque<int> Answers;
}  // namespace

void AnswerNextMessageBox(int answer) { Answers.push_back(answer); }

HWND__* Control(CWnd& dialog, int id) {
  if (dialog.m_hWnd)  // as the test sees it, not counted as the framework asking
    for (auto& child : dialog.m_hWnd->Children)
      if (child->Id == id) return child.get();
  return nullptr;
}

bool IsEnabled(CWnd& dialog, int id) { return Backend::IsEnabled(Control(dialog, id)); }

void PickItem(CWnd& dialog, int id, int index) {
  HWND__* combo = Control(dialog, id);
  WindowModel::UserDropsList(combo);
  WindowModel::UserPicks(combo, index);
}
void DropList(CWnd& dialog, int id) { WindowModel::UserDropsList(Control(dialog, id)); }
void CloseList(CWnd& dialog, int id) { WindowModel::UserClosesList(Control(dialog, id)); }
void PressListKey(CWnd& dialog, int id, int key) { WindowModel::UserMovesInList(Control(dialog, id), key); }

void TabInto(CWnd& dialog, int id) { WindowModel::UserTabsInto(Control(dialog, id)); }
void PressTab(CWnd& dialog, bool backwards) { WindowModel::UserPressesTab(dialog.m_hWnd, backwards); }
void ClickInto(CWnd& dialog, int id) { WindowModel::UserFocuses(Control(dialog, id)); }
HWND__* FocusedWindow() { return WindowModel::FocusedWindow(); }

void TypeText(CWnd& dialog, int id, const std::string& text) {
  HWND__* edit = Control(dialog, id);
  for (char key : text) WindowModel::UserTypes(edit, key);
}

void TypeOver(CWnd& dialog, int id, const std::string& text) {
  TabInto(dialog, id);
  TypeText(dialog, id, text);
}

void PasteText(CWnd& dialog, int id, const std::string& text) {
  const int end = static_cast<int>(text.size());
  WindowModel::UserEdits(Control(dialog, id), text, end, end);
}

void MoveCaret(CWnd& dialog, int id, int start, int end) {
  WindowModel::UserMovesCaret(Control(dialog, id), start, end);
}

void PressEnter(CWnd& dialog) { WindowModel::UserPressesEnter(dialog.m_hWnd); }
void PressEscape(CWnd& dialog) { WindowModel::UserPressesEscape(dialog.m_hWnd); }
void PressCloseBox(CWnd& dialog) { WindowModel::UserCloses(dialog.m_hWnd); }

void PressButton(CWnd& dialog, int id) {
  if (HWND__* button = Control(dialog, id); button && button->ClassName == "Button")
    WindowModel::UserClicks(button);
  else
    PressCommand(dialog, id);
}

void PressCommand(CWnd& dialog, int id) {
  if (id == IDOK)
    PressEnter(dialog);
  else if (id == IDCANCEL)
    PressEscape(dialog);
  else
    WindowModel::UserChoosesCommand(dialog.m_hWnd, id);
}

int ControlLookups() { return WindowModel::ControlLookups(); }

const std::vector<std::string>& MessageBoxes() { return Texts; }
const std::vector<ShownMessageBox>& MessageBoxLog() { return Boxes; }
void ClearMessageBoxes() {
  Texts.clear();
  Boxes.clear();
  Answers.clear();
}

void DrawComboItem(CWnd& dialog, int id, int index, UINT state, RECT rect, HDC target) {
  WindowModel::DrawItem(Control(dialog, id), index, state, Backend::SurfaceOf(target), rect);
}

}  // namespace Headless

namespace ModelBackend {

int AskMessageBox(HWND__*, const std::string& text, const std::string& caption,
                  const WindowModel::MessageBoxForm& form) {
  int answer = form.Escape ? form.Escape : form.Default;
  if (!Headless::Answers.empty()) {
    const int queued = Headless::Answers.front();
    Headless::Answers.pop_front();
    if (std::any_of(form.Buttons.begin(), form.Buttons.end(), [queued](const auto& b) { return b.Id == queued; }))
      answer = queued;
  }
  Headless::Texts.push_back(text);
  Headless::Boxes.push_back({text, caption, form.Type, answer});
  return answer;
}

}  // namespace ModelBackend
