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
// A change the window shows: repainted unless its redraw is off.
void Repainted(HWND__* window);
// The keyboard focus; a window that goes away takes it with it.
void SetFocusedWindow(HWND__* window);
void LoseFocus(HWND__* window);

}  // namespace WindowModel
