#pragma once
// Inside the window model: what its files call of each other.

#include "framework/model/WindowModel.h"

namespace WindowModel {

// What a window does with a message by itself (Controls.cpp).
LRESULT BuiltInProc(HWND__* window, UINT message, WPARAM wParam, LPARAM lParam);
// Whether an edit refuses a typed key.
bool RefusesKey(const HWND__* edit, char key);
// A control tells its parent what happened, as WM_COMMAND with its id and code.
void Notify(HWND__* control, UINT code);
// The list scrolled so that item index is in view, as a listbox keeps its selection.
void ScrollIntoView(HWND__* combo, int index);
// A change the window shows: repainted unless its redraw is off.
void Repainted(HWND__* window);
// The keyboard focus; a window that goes away or is disabled takes it with it.
void SetFocusedWindow(HWND__* window);
void LoseFocus(HWND__* window);
// Whether the window takes the user's input and the focus: neither it nor, for a control,
// its dialog is disabled.
bool TakesInput(const HWND__* window);
// The dialog's tab stop after from (before it when backwards; from null: the first or the
// last), wrapping, as the dialog manager finds it: visible, enabled, WS_TABSTOP. Null for none.
HWND__* NextTabStop(HWND__* dialog, const HWND__* from, bool backwards);
// The dialog active again after a window over it closed, as the dialog manager restores its
// focus: to savedFocus when it still takes input, else to the first tab stop, else to the
// dialog itself.
void Reactivate(HWND__* dialog, HWND__* savedFocus);

}  // namespace WindowModel
