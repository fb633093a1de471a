// What a combo box, an edit and any window do with a message by themselves, following the
// platform's rules the program relies on (selection, caret, notifications, repainting).
// Windows.cpp hands them what no object takes; each change is then shown by the window's peer.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "framework/Backend.h"
#include "framework/model/ModelInternal.h"

namespace WindowModel {

namespace {

HWND__* Focused = nullptr;  // the window with the keyboard focus

// What WM_MEASUREITEM offers an owner-drawn list's owner before it answers, as Windows offers
// it for the program's dialog font (measured under Wine).
constexpr UINT OfferedItemHeight = 16;

void ItemsChanged(HWND__* combo) {
  if (combo->Peer) combo->Peer->ItemsChanged();
  Repainted(combo);
}

void SelectionChanged(HWND__* combo) {
  ScrollIntoView(combo, combo->Selection);
  if (combo->Peer) combo->Peer->SelectionChanged();
  Repainted(combo);
}

// Pixels inside the dropped list's border, and the height of item index.
int ListInside(const HWND__* combo) { return DroppedListHeight(combo) - 2; }
int ItemHeight(const HWND__* combo, int index) {
  return static_cast<int>(combo->ItemHeights[static_cast<std::size_t>(index)]);
}

LRESULT ComboProc(HWND__* combo, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& items = combo->Items;
  switch (message) {
    case CB_ADDSTRING: {
      items.emplace_back(reinterpret_cast<const char*>(lParam));
      auto index = static_cast<UINT>(items.size() - 1);
      combo->ItemHeights.push_back(0);
      if (combo->Style & CBS_OWNERDRAWVARIABLE) {  // the owner says how high each item is
        // The list asks the combo box, which passes the question on to its parent (below),
        // offering the height Windows offers for the program's font.
        MEASUREITEMSTRUCT measure{ODT_COMBOBOX, static_cast<UINT>(combo->Id), index, 0, OfferedItemHeight, 0};
        Backend::Send(combo, WM_MEASUREITEM, static_cast<WPARAM>(combo->Id), reinterpret_cast<LPARAM>(&measure));
        combo->ItemHeights[index] = measure.itemHeight;
      }
      ItemsChanged(combo);
      return static_cast<LRESULT>(index);
    }
    case WM_MEASUREITEM:
    case WM_DRAWITEM: return Backend::Send(combo->Parent, message, wParam, lParam);
    case CB_RESETCONTENT:
      items.clear();
      combo->ItemHeights.clear();
      combo->Selection = -1;
      combo->TopIndex = 0;
      ItemsChanged(combo);
      return 0;
    case CB_GETCOUNT: return static_cast<LRESULT>(items.size());
    case CB_GETCURSEL: return combo->Selection;
    case CB_SETCURSEL: {
      // An index the list lacks clears the selection, as Windows does.
      const auto index = static_cast<int>(static_cast<std::intptr_t>(wParam));
      const bool known = index >= 0 && index < static_cast<int>(items.size());
      combo->Selection = known ? index : -1;
      SelectionChanged(combo);
      return known ? index : CB_ERR;
    }
    case CB_GETLBTEXTLEN:
    case CB_GETLBTEXT: {
      auto index = static_cast<std::size_t>(wParam);
      if (index >= items.size()) return CB_ERR;
      if (message == CB_GETLBTEXT)
        std::memcpy(reinterpret_cast<char*>(lParam), items[index].c_str(), items[index].size() + 1);
      return static_cast<LRESULT>(items[index].size());
    }
    default: return 0;
  }
}

void TextChanged(HWND__* window) {
  if (window->Peer) window->Peer->TextChanged();
}

// An edit control as Win32 keeps it: a text, a selection whose end is the caret, keys and
// pastes that replace the selection, and EN_CHANGE after every change of the text.
void ReplaceSelection(HWND__* edit, const std::string& text) {
  const std::string before = edit->Text;
  edit->Text.replace(static_cast<std::size_t>(edit->SelStart), static_cast<std::size_t>(edit->SelEnd - edit->SelStart),
                     text);
  edit->SelStart = edit->SelEnd = edit->SelStart + static_cast<int>(text.size());
  TextChanged(edit);  // shown before the owner hears of it, as the edit shows a key first
  if (edit->Text != before) Notify(edit, EN_CHANGE);
}

LRESULT EditProc(HWND__* edit, UINT message, WPARAM wParam, LPARAM lParam) {
  const int length = static_cast<int>(edit->Text.size());
  switch (message) {
    case EM_SETSEL: {
      // -1 as the start takes the selection away; -1 as the end (or past the text) means its end.
      auto start = static_cast<int>(static_cast<std::intptr_t>(wParam));
      auto end = static_cast<int>(lParam);
      if (start == -1) {
        edit->SelStart = edit->SelEnd;
      } else {
        if (end < 0 || end > length) end = length;
        start = start < 0 || start > length ? length : start;
        edit->SelStart = start < end ? start : end;
        edit->SelEnd = start < end ? end : start;
      }
      TextChanged(edit);
      return 0;
    }
    case EM_GETSEL:
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(edit->SelStart);
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(edit->SelEnd);
      return MAKELRESULT(static_cast<WORD>(edit->SelStart), static_cast<WORD>(edit->SelEnd));
    case EM_REPLACESEL: ReplaceSelection(edit, reinterpret_cast<const char*>(lParam)); return 0;
    case WM_CHAR: {
      const auto key = static_cast<char>(wParam);
      if (key == '\b') {  // Backspace: the selection, or the character before the caret
        if (edit->SelStart == edit->SelEnd && edit->SelStart > 0) --edit->SelStart;
        if (edit->SelStart != edit->SelEnd) ReplaceSelection(edit, "");
        return 0;
      }
      if (RefusesKey(edit, key)) return 0;
      ReplaceSelection(edit, std::string(1, key));
      return 0;
    }
    default: return 0;
  }
}

}  // namespace

LRESULT BuiltInProc(HWND__* window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window) return 0;
  switch (message) {
    case WM_SETREDRAW:
      window->Redraw = wParam != 0;  // turned on again, it repaints only when invalidated
      if (window->Peer) window->Peer->RedrawChanged();
      return 0;
    case WM_SETTEXT:
      window->Text = reinterpret_cast<const char*>(lParam);
      // As on Windows: the caret goes to the start and nothing stays selected.
      window->SelStart = window->SelEnd = 0;
      TextChanged(window);
      if (window->ClassName == "Edit") Notify(window, EN_CHANGE);
      return TRUE;
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(window->Text.size());
    case WM_CLOSE:  // a dialog closed by its close box or Alt+F4 is cancelled
      if (window->ClassName == "#32770")
        Backend::Send(window, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(IDCANCEL), 0), 0);
      return 0;
    case WM_SETICON: {
      HICON& slot = window->Icons[wParam == ICON_BIG ? 1 : 0];
      HICON before = slot;
      slot = reinterpret_cast<HICON>(lParam);
      if (window->Peer) window->Peer->IconChanged();
      return reinterpret_cast<LRESULT>(before);
    }
    default:
      if (window->ClassName == "ComboBox") return ComboProc(window, message, wParam, lParam);
      if (window->ClassName == "Edit") return EditProc(window, message, wParam, lParam);
      return 0;
  }
}

int ComboBoxHeight(const HWND__* combo) { return static_cast<int>(combo->FieldHeight) + 7; }
int DroppedListHeight(const HWND__* combo) { return combo->Area.bottom - combo->Area.top - ComboBoxHeight(combo) - 3; }

int ListPageRows(const HWND__* combo) {
  // As a listbox of owner-drawn items of their own heights counts its page: the items from the
  // top row that fit whole, at least one.
  const int count = static_cast<int>(combo->ItemHeights.size());
  int rows = 0;
  for (int i = combo->TopIndex, used = 0; i < count && (used += ItemHeight(combo, i)) <= ListInside(combo); ++i) ++rows;
  return std::max(rows, 1);
}

void ScrollIntoView(HWND__* combo, int index) {
  if (index < 0 || index >= static_cast<int>(combo->ItemHeights.size())) return;
  if (index < combo->TopIndex) {
    combo->TopIndex = index;
    return;
  }
  // Below the page: the list scrolls until the item is its last whole row.
  int top = index;
  for (int used = ItemHeight(combo, index);
       top > combo->TopIndex && (used += ItemHeight(combo, top - 1)) <= ListInside(combo);)
    --top;
  combo->TopIndex = top;
}

bool RefusesKey(const HWND__* edit, char key) {
  // ES_NUMBER refuses a key that is not a digit (or Backspace), and changes nothing.
  return (edit->Style & ES_NUMBER) && key != '\b' && !std::isdigit(static_cast<unsigned char>(key));
}

HWND__* FocusedWindow() { return Focused; }
void SetFocusedWindow(HWND__* window) { Focused = window; }
void LoseFocus(HWND__* window) {
  if (Focused && (Focused == window || Focused->Parent == window)) Focused = nullptr;
}

bool TakesInput(const HWND__* window) {
  if (!window || (window->Style & WS_DISABLED)) return false;
  const bool control = window->ClassName != "#32770";  // a dialog's Parent is its owner, not its container
  return !control || !window->Parent || !(window->Parent->Style & WS_DISABLED);
}

HWND__* NextTabStop(HWND__* dialog, const HWND__* from, bool backwards) {
  if (!dialog || dialog->Children.empty()) return nullptr;
  const int count = static_cast<int>(dialog->Children.size());
  int at = backwards ? count : -1;
  for (int i = 0; i < count; ++i)
    if (dialog->Children[static_cast<std::size_t>(i)].get() == from) at = i;
  const int step = backwards ? -1 : 1;
  for (int n = 1; n <= count; ++n) {
    HWND__* child = dialog->Children[static_cast<std::size_t>(((at + step * n) % count + count) % count)].get();
    if ((child->Style & WS_TABSTOP) && (child->Style & WS_VISIBLE) && TakesInput(child)) return child;
  }
  return nullptr;
}

void Notify(HWND__* control, UINT code) {
  Backend::Send(control->Parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(control->Id), static_cast<WORD>(code)),
                reinterpret_cast<LPARAM>(control));
}

void Repainted(HWND__* window) {
  if (!window->Redraw) return;
  ++window->Repaints;
  if (window->Peer) window->Peer->Repaint();
}

}  // namespace WindowModel
