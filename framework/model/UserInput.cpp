// What the user does to the model's windows, as Windows turns it into changes and
// notifications: the order of a combo box's notifications, the selection of an edit reached
// with Tab, the keys of a dialog. The in-memory test driver and every backend's peers come here.
// A disabled window (or a control of a disabled dialog) takes none of it.

#include <algorithm>

#include "framework/Backend.h"
#include "framework/model/ModelInternal.h"

namespace WindowModel {

void UserDropsList(HWND__* combo) {
  if (!TakesInput(combo) || combo->Dropped) return;
  combo->Dropped = true;
  // As Windows drops a list: the selected item in the top row, as far as the list reaches.
  const int count = static_cast<int>(combo->ItemHeights.size());
  int lastTop = count;
  for (int used = 0;
       lastTop > 0 && (used += static_cast<int>(combo->ItemHeights[static_cast<std::size_t>(lastTop - 1)])) <=
                          DroppedListHeight(combo) - 2;)
    --lastTop;
  combo->TopIndex = std::clamp(std::min(combo->Selection, lastTop), 0, std::max(count - 1, 0));
  Notify(combo, CBN_DROPDOWN);
}

void UserClosesList(HWND__* combo) {
  if (!combo || !combo->Dropped) return;
  combo->Dropped = false;
  Notify(combo, CBN_SELENDCANCEL);
  Notify(combo, CBN_CLOSEUP);
}

void UserPicks(HWND__* combo, int index) {
  if (!TakesInput(combo)) return;
  Backend::Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  Notify(combo, CBN_SELENDOK);
  if (combo->Dropped) {
    combo->Dropped = false;
    Notify(combo, CBN_CLOSEUP);
  }
  Notify(combo, CBN_SELCHANGE);
}

bool UserMovesInList(HWND__* combo, int key) {
  if (!TakesInput(combo)) return false;
  const int last = static_cast<int>(combo->Items.size()) - 1;
  const int at = combo->Selection;
  // A page key as a listbox takes it: to the last row of the page (the first, going up), or,
  // from there, a page on, the row at the edge staying in view.
  const int page = ListPageRows(combo), top = combo->TopIndex, bottom = top + page - 1;
  int to = at;
  switch (key) {
    case VK_UP: to = at - 1; break;
    case VK_DOWN: to = at + 1; break;
    case VK_PRIOR: to = at > top ? top : at - (page - 1); break;
    case VK_NEXT: to = at < bottom ? bottom : at + (page - 1); break;
    case VK_HOME: to = 0; break;
    case VK_END: to = last; break;
    default: return false;
  }
  if (at < 0) to = key == VK_END ? last : 0;  // nothing selected: every key starts at an end
  if (last >= 0) UserPicks(combo, std::clamp(to, 0, last));
  return true;
}

void UserTabsInto(HWND__* window) {
  if (!TakesInput(window)) return;
  Backend::Focus(window);
  if (window->ClassName == "Edit") Backend::Send(window, EM_SETSEL, 0, -1);
}

void UserFocuses(HWND__* window) {
  if (TakesInput(window)) SetFocusedWindow(window);
}

void UserPressesTab(HWND__* dialog, bool backwards) {
  if (!TakesInput(dialog)) return;
  const HWND__* focused = FocusedWindow();
  if (HWND__* next = NextTabStop(dialog, focused && focused->Parent == dialog ? focused : nullptr, backwards))
    UserTabsInto(next);
}

void UserMovesCaret(HWND__* edit, int start, int end) {
  if (!TakesInput(edit)) return;
  const int length = static_cast<int>(edit->Text.size());
  edit->SelStart = std::clamp(std::min(start, end), 0, length);
  edit->SelEnd = std::clamp(std::max(start, end), 0, length);
}

bool UserTypes(HWND__* edit, char key) {
  if (!TakesInput(edit)) return false;
  if (FocusedWindow() != edit) Backend::Focus(edit);
  Backend::Send(edit, WM_CHAR, static_cast<unsigned char>(key), 0);
  return !RefusesKey(edit, key);
}

void UserEdits(HWND__* edit, const std::string& text, int selStart, int selEnd) {
  if (!TakesInput(edit)) return;
  const bool changed = edit->Text != text;
  edit->Text = text;
  UserMovesCaret(edit, selStart, selEnd);
  if (edit->Peer) edit->Peer->TextChanged();
  if (changed) Notify(edit, EN_CHANGE);
}

namespace {
void Command(HWND__* dialog, int id) { Backend::Send(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0); }
}  // namespace

void UserPressesEnter(HWND__* dialog) {
  if (!TakesInput(dialog)) return;
  for (auto& child : dialog->Children)
    if (child->ClassName == "Button" && (child->Style & 0x0F) == BS_DEFPUSHBUTTON) {
      UserClicks(child.get());
      return;
    }
  Command(dialog, IDOK);
}

void UserPressesEscape(HWND__* dialog) {
  if (TakesInput(dialog)) Command(dialog, IDCANCEL);
}

void UserCloses(HWND__* dialog) {
  if (TakesInput(dialog)) Backend::Send(dialog, WM_CLOSE, 0, 0);
}

void UserClicks(HWND__* button) {
  if (TakesInput(button)) Notify(button, BN_CLICKED);
}

void UserChoosesCommand(HWND__* dialog, int id) {
  if (TakesInput(dialog)) Command(dialog, id);
}

}  // namespace WindowModel
