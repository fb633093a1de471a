// Modal dialogs from the registered templates: the model's dialog window, made as DoModal
// makes it, then the test's script in place of the modal loop.

#include <deque>
#include <map>

#include "framework/Backend.h"
#include "framework/CDialog.h"
#include "framework/headless/HeadlessInternal.h"
#include "framework/headless/HeadlessUser.h"
#include "framework/model/WindowModel.h"

namespace Headless {

namespace {
std::map<UINT, DialogTemplate>& Templates() {
  static std::map<UINT, DialogTemplate> templates;
  return templates;
}
std::deque<std::function<void(CDialog&)>> Scripts;
int Runs = 0;

HWND__* Create(CDialog& dialog) {
  const DialogTemplate* source = FindTemplate(dialog.TemplateId);
  return source ? WindowModel::CreateDialogWindow(dialog, *source, nullptr) : nullptr;
}
}  // namespace

void RegisterTemplate(UINT id, DialogTemplate dialogTemplate) { Templates()[id] = std::move(dialogTemplate); }

const DialogTemplate* FindTemplate(UINT id) {
  auto found = Templates().find(id);
  return found == Templates().end() ? nullptr : &found->second;
}

bool LoadResourceScript(const std::string& scriptPath, const std::string& headerPath, std::string* error) {
  ResourceScript script;
  if (!script.ReadFiles(scriptPath, headerPath, error)) return false;
  for (auto& [id, dialog] : script.Dialogs) RegisterTemplate(id, std::move(dialog));
  return true;
}

bool RunScript(CDialog& dialog) {
  ++Runs;
  if (Scripts.empty()) return false;
  auto script = std::move(Scripts.front());
  Scripts.pop_front();
  script(dialog);
  return true;
}

bool Open(CDialog& dialog) { return Create(dialog) != nullptr; }
void Close(CDialog& dialog) { WindowModel::DestroyDialogWindow(dialog); }

void OnNextModal(std::function<void(CDialog&)> script) { Scripts.push_back(std::move(script)); }
void AnswerNextModal(int buttonId) {
  OnNextModal([buttonId](CDialog& dialog) { PressCommand(dialog, buttonId); });
}
void ClearModalScripts() { Scripts.clear(); }
int ModalRuns() { return Runs; }

}  // namespace Headless

namespace Backend {

INT_PTR RunModal(CDialog& dialog) {
  if (!Headless::Create(dialog)) return -1;
  const bool scripted = Headless::RunScript(dialog);
  HWND window = dialog.m_hWnd;
  const INT_PTR result = scripted && window && window->Ended ? window->Result : IDCANCEL;
  WindowModel::DestroyDialogWindow(dialog);
  return result;
}

int ShowMessageBox(HWND, const CString& text, const CString& caption, UINT type) {
  return Headless::AnswerMessageBox(text.Str(), caption.Str(), type);
}

}  // namespace Backend
