#pragma once
// Inside the in-memory backend: what Backend.cpp and HeadlessUser.cpp call of each other.

#include <string>

#include "framework/headless/HeadlessWindow.h"

class CDialog;

namespace Headless {

// Dialog windows built from registered templates (HeadlessUser.cpp).
HWND__* CreateDialogWindow(CDialog& dialog);
void DestroyDialogWindow(CDialog& dialog);
bool RunScript(CDialog& dialog);
void RecordMessageBox(const std::string& text);

// A control tells its parent what happened, as WM_COMMAND with its id and code (Backend.cpp).
void Notify(HWND__* control, UINT code);
// A window that goes away takes the focus with it (Backend.cpp).
void LoseFocus(HWND__* window);

}  // namespace Headless
