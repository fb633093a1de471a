#pragma once
// Inside the in-memory backend: what its files call of each other.

#include <string>

#include "framework/headless/HeadlessWindow.h"

class CDialog;

namespace Headless {

// Dialog windows built from registered templates (Dialogs.cpp).
HWND__* CreateDialogWindow(CDialog& dialog);
void DestroyDialogWindow(CDialog& dialog);
bool RunScript(CDialog& dialog);

// A message box shown to the user, who answers it as the test queued (HeadlessUser.cpp).
int AnswerMessageBox(const std::string& text, const std::string& caption, UINT type);

// What a window does with a message by itself (Controls.cpp).
LRESULT BuiltInProc(HWND__* window, UINT message, WPARAM wParam, LPARAM lParam);
// A control tells its parent what happened, as WM_COMMAND with its id and code.
void Notify(HWND__* control, UINT code);
// A change the window shows: repainted at once unless its redraw is off.
void Repainted(HWND__* window);
// The keyboard focus; a window that goes away takes it with it.
void SetFocusedWindow(HWND__* window);
void LoseFocus(HWND__* window);

}  // namespace Headless
