#pragma once
// Inside the in-memory backend: what its files call of each other.

#include <string>

#include "framework/model/Window.h"

class CDialog;

namespace Headless {

// Runs the next queued script on the open dialog, in place of a modal loop; false with none.
bool RunScript(CDialog& dialog);

// A message box shown to the user, who answers it as the test queued (HeadlessUser.cpp).
int AnswerMessageBox(const std::string& text, const std::string& caption, UINT type);

}  // namespace Headless
