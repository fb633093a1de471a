#pragma once
// Script for the in-memory open-file dialog: each DoModal takes the next answer, in order.
// With no answer left it is cancelled, as a user closing it would.

#include <optional>

#include "framework/CFileDialog.h"

namespace Headless {

void AnswerFileDialog(const CString& path);  // the user confirms this file
void CancelFileDialog();                     // the user cancels
void ClearFileDialogAnswers();
int FileDialogAnswersLeft();

// A copy of the last dialog that was run, as it was constructed.
std::optional<CFileDialog> LastFileDialog();

}  // namespace Headless
