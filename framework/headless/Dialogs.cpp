// Modal dialogs from the registered templates: a dialog window with its controls, made as
// DoModal makes it, then the test's script in place of the modal loop.

#include <deque>
#include <map>
#include <memory>

#include "framework/Backend.h"
#include "framework/CDialog.h"
#include "framework/headless/HeadlessInternal.h"
#include "framework/headless/HeadlessUser.h"

namespace Headless {

namespace {
std::map<UINT, DialogTemplate>& Templates() {
  static std::map<UINT, DialogTemplate> templates;
  return templates;
}
std::deque<std::function<void(CDialog&)>> Scripts;
std::vector<std::unique_ptr<HWND__>> Dialogs;  // open dialog windows, innermost last
int Runs = 0;
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

HWND__* CreateDialogWindow(CDialog& dialog) {
  auto found = Templates().find(dialog.TemplateId);
  if (found == Templates().end()) return nullptr;
  const DialogTemplate& source = found->second;

  auto window = std::make_unique<HWND__>();
  window->ClassName = "#32770";
  window->Text = source.Caption;
  window->Parent = dialog.Parent ? dialog.Parent->m_hWnd : nullptr;
  window->ClientWidth = source.ClientWidth;
  window->ClientHeight = source.ClientHeight;
  window->Client.assign(static_cast<std::size_t>(source.ClientWidth) * source.ClientHeight, 0);
  window->Dialog = &dialog;
  for (const ControlTemplate& control : source.Controls) {
    auto child = std::make_unique<HWND__>();
    child->ClassName = control.ClassName;
    child->Id = control.Id;
    child->Style = control.Style;
    child->Text = control.Text;
    child->Parent = window.get();
    window->Children.push_back(std::move(child));
  }
  HWND__* raw = window.get();
  Dialogs.push_back(std::move(window));
  dialog.Attach(raw);

  // As on Windows, owner-drawn boxes have their selection field measured before
  // WM_INITDIALOG, while no control object is attached yet.
  for (auto& child : raw->Children)
    if (child->ClassName == "ComboBox" && (child->Style & HeadlessCbsOwnerDrawVariable)) {
      MEASUREITEMSTRUCT measure{ODT_COMBOBOX, static_cast<UINT>(child->Id), static_cast<UINT>(-1), 0, 13, 0};
      Backend::Send(raw, WM_MEASUREITEM, static_cast<WPARAM>(child->Id), reinterpret_cast<LPARAM>(&measure));
    }
  // TRUE from WM_INITDIALOG: the focus goes to the first tab stop.
  if (Backend::Send(raw, WM_INITDIALOG, 0, 0))
    for (auto& child : raw->Children)
      if (child->Style & HeadlessWsTabStop) {
        Backend::Focus(child.get());
        if (child->ClassName == "Edit") Backend::Send(child.get(), EM_SETSEL, 0, -1);
        break;
      }
  return raw;
}

void DestroyDialogWindow(CDialog& dialog) {
  HWND__* window = dialog.m_hWnd;
  if (!window) return;
  for (auto& child : window->Children) {
    if (CWnd* object = CWnd::FromHandlePermanent(child.get())) object->Detach();
    LoseFocus(child.get());
  }
  LoseFocus(window);
  dialog.Detach();
  std::erase_if(Dialogs, [window](const auto& open) { return open.get() == window; });
}

bool RunScript(CDialog& dialog) {
  ++Runs;
  if (Scripts.empty()) return false;
  auto script = std::move(Scripts.front());
  Scripts.pop_front();
  script(dialog);
  return true;
}

bool Open(CDialog& dialog) { return CreateDialogWindow(dialog) != nullptr; }
void Close(CDialog& dialog) { DestroyDialogWindow(dialog); }

void OnNextModal(std::function<void(CDialog&)> script) { Scripts.push_back(std::move(script)); }
void AnswerNextModal(int buttonId) {
  OnNextModal([buttonId](CDialog& dialog) { PressCommand(dialog, buttonId); });
}
void ClearModalScripts() { Scripts.clear(); }
int ModalRuns() { return Runs; }

}  // namespace Headless

namespace Backend {

INT_PTR RunModal(CDialog& dialog) {
  if (!Headless::CreateDialogWindow(dialog)) return -1;
  bool scripted = Headless::RunScript(dialog);
  HWND window = dialog.m_hWnd;
  INT_PTR result = scripted && window && window->Ended ? window->Result : IDCANCEL;
  Headless::DestroyDialogWindow(dialog);
  return result;
}

void EndModal(CDialog& dialog, int result) {
  if (!dialog.m_hWnd) return;
  dialog.m_hWnd->Ended = true;
  dialog.m_hWnd->Result = result;
}

}  // namespace Backend
