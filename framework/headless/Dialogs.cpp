// The in-memory backend's part of the model's dialogs: the templates the tests register or
// read, and the test's script in place of a modal loop (see HeadlessUser.h).

#include <deque>

#include "framework/CDialog.h"
#include "framework/headless/HeadlessUser.h"
#include "framework/model/ModelBackend.h"

namespace Headless {

namespace {
std::deque<std::function<void(CDialog&)>> Scripts;
int Runs = 0;
}  // namespace

void RegisterTemplate(UINT id, DialogTemplate dialogTemplate) {
  WindowModel::Resources().Dialogs[id] = std::move(dialogTemplate);
}

const DialogTemplate* FindTemplate(UINT id) {
  const auto& dialogs = WindowModel::Resources().Dialogs;
  auto found = dialogs.find(id);
  return found == dialogs.end() ? nullptr : &found->second;
}

bool LoadResourceScript(const std::string& scriptPath, const std::string& headerPath, std::string* error) {
  ResourceScript script;
  if (!script.ReadFiles(scriptPath, headerPath, error)) return false;
  ResourceScript& resources = WindowModel::Resources();
  for (auto& [id, dialog] : script.Dialogs) resources.Dialogs[id] = std::move(dialog);
  for (auto& [id, menu] : script.Menus) resources.Menus[id] = std::move(menu);
  for (auto& [id, icon] : script.Icons) resources.Icons[id] = std::move(icon);
  resources.ProductName = script.ProductName;
  return true;
}

bool Open(CDialog& dialog) {
  const DialogTemplate* source = FindTemplate(dialog.TemplateId);
  return source && WindowModel::CreateDialogWindow(dialog, *source, nullptr);
}
void Close(CDialog& dialog) { WindowModel::DestroyDialogWindow(dialog); }

void OnNextModal(std::function<void(CDialog&)> script) { Scripts.push_back(std::move(script)); }
void AnswerNextModal(int buttonId) {
  OnNextModal([buttonId](CDialog& dialog) { PressButton(dialog, buttonId); });
}
void ClearModalScripts() { Scripts.clear(); }
int ModalRuns() { return Runs; }

}  // namespace Headless

namespace ModelBackend {

// The tests register their templates, or read a script (Headless::LoadResourceScript).
bool ResourceTexts(std::string*, std::string*) { return false; }

void MakePeers(HWND__*, const DialogTemplate&) {}  // the tests look at the model's windows
void DropPeers(HWND__*) {}

// The next queued script acts in place of the user; when it is done (or none is queued) and
// the dialog still runs, the user closes it with its close box.
void RunModalLoop(HWND__* dialog) {
  ++Headless::Runs;
  if (!Headless::Scripts.empty()) {
    auto script = std::move(Headless::Scripts.front());
    Headless::Scripts.pop_front();
    script(*dialog->Dialog);
  }
  if (!dialog->Ended) WindowModel::UserCloses(dialog);
}

}  // namespace ModelBackend
