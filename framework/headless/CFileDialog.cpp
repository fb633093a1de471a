#include <deque>

#include "framework/headless/HeadlessFileDialog.h"

namespace {
std::deque<std::optional<CString>> Answers;  // nullopt: cancel
std::optional<CFileDialog> Last;
}  // namespace

namespace Headless {
void AnswerFileDialog(const CString& path) { Answers.emplace_back(path); }
void CancelFileDialog() { Answers.emplace_back(std::nullopt); }
void ClearFileDialogAnswers() { Answers.clear(); }
int FileDialogAnswersLeft() { return static_cast<int>(Answers.size()); }
std::optional<CFileDialog> LastFileDialog() { return Last; }
}  // namespace Headless

int CFileDialog::DoModal() {
  Last = *this;
  if (Answers.empty()) return IDCANCEL;
  std::optional<CString> answer = Answers.front();
  Answers.pop_front();
  if (!answer) return IDCANCEL;
  PathName = *answer;
  return IDOK;
}
