// Driving the in-memory windows as a user would: picks, keys, pastes, commands, the items
// the lists draw, and the message boxes shown.

#include "framework/headless/HeadlessUser.h"

#include <deque>

#include "framework/Backend.h"
#include "framework/headless/HeadlessInternal.h"
#include "framework/model/WindowModel.h"

namespace Headless {

namespace {
std::vector<std::string> Texts;
std::vector<ShownMessageBox> Boxes;
std::deque<int> Answers;
}  // namespace

int AnswerMessageBox(const std::string& text, const std::string& caption, UINT type) {
  int answer = (type & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
  if (!Answers.empty()) {
    answer = Answers.front();
    Answers.pop_front();
  }
  Texts.push_back(text);
  Boxes.push_back({text, caption, type, answer});
  return answer;
}

void AnswerNextMessageBox(int answer) { Answers.push_back(answer); }

HWND__* Control(CWnd& dialog, int id) {
  if (dialog.m_hWnd)  // as the test sees it, not counted as the framework asking
    for (auto& child : dialog.m_hWnd->Children)
      if (child->Id == id) return child.get();
  return nullptr;
}

void PickItem(CWnd& dialog, int id, int index) {
  HWND__* combo = Control(dialog, id);
  WindowModel::UserDropsList(combo);
  WindowModel::UserPicks(combo, index);
}

void TabInto(CWnd& dialog, int id) { WindowModel::UserTabsInto(Control(dialog, id)); }

void TypeText(CWnd& dialog, int id, const std::string& text) {
  HWND__* edit = Control(dialog, id);
  for (char key : text) WindowModel::UserTypes(edit, key);
}

void TypeOver(CWnd& dialog, int id, const std::string& text) {
  TabInto(dialog, id);
  TypeText(dialog, id, text);
}

void PasteText(CWnd& dialog, int id, const std::string& text) {
  HWND__* edit = Control(dialog, id);
  if (!edit) return;
  Backend::Send(edit, EM_SETSEL, 0, -1);
  Backend::Send(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

HWND__* FocusedWindow() { return WindowModel::FocusedWindow(); }

int ControlLookups() { return WindowModel::ControlLookups(); }

void PressCommand(CWnd& dialog, int id) {
  Backend::Send(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
}

const std::vector<std::string>& MessageBoxes() { return Texts; }
const std::vector<ShownMessageBox>& MessageBoxLog() { return Boxes; }
void ClearMessageBoxes() {
  Texts.clear();
  Boxes.clear();
  Answers.clear();
}

void DrawComboItem(CWnd& dialog, int id, int index, UINT state, RECT rect, HDC target) {
  HWND__* combo = Control(dialog, id);
  DRAWITEMSTRUCT item{
      ODT_COMBOBOX, static_cast<UINT>(id), static_cast<UINT>(index), ODA_DRAWENTIRE, state, combo, target, rect, 0};
  Backend::Send(dialog.m_hWnd, WM_DRAWITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&item));
}

}  // namespace Headless
