// Dialog windows from resource templates, made as the dialog manager makes them: the window
// and its controls, their items measured before WM_INITDIALOG, then the focus on the first
// tab stop.

#include <algorithm>

#include "framework/Backend.h"
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "framework/model/ModelInternal.h"

namespace WindowModel {

namespace {

std::vector<std::unique_ptr<HWND__>> Dialogs;  // open dialog windows, innermost last

// What WM_MEASUREITEM offers for an owner-drawn box's selection field before the owner
// answers, as Windows offers it for the program's dialog font (measured under Wine).
constexpr UINT OfferedFieldHeight = 14;

}  // namespace

HWND__* CreateDialogWindow(CDialog& dialog, const DialogTemplate& source, const std::function<void(HWND__*)>& mirror) {
  if (dialog.m_hWnd) return nullptr;  // running already: Windows' DoModal refuses a second run too
  auto window = std::make_unique<HWND__>();
  window->ClassName = "#32770";
  window->Text = source.Caption;
  window->Style = source.Style;
  // A dialog without a parent is owned by the program's main window, as DoModal makes it.
  CWnd* main = AfxGetMainWnd();
  window->Parent = dialog.Parent ? dialog.Parent->m_hWnd : main && main != &dialog ? main->m_hWnd : nullptr;
  window->ClientWidth = source.ClientWidth;
  window->ClientHeight = source.ClientHeight;
  window->Client.assign(static_cast<std::size_t>(source.ClientWidth) * static_cast<std::size_t>(source.ClientHeight),
                        0);
  window->Dialog = &dialog;
  for (const ControlTemplate& control : source.Controls) {
    auto child = std::make_unique<HWND__>();
    child->ClassName = control.ClassName;
    child->Id = control.Id;
    child->Style = control.Style;
    child->Text = control.Text;
    child->Parent = window.get();
    child->Area = DialogUnitsToPixels(control.X, control.Y, control.Width, control.Height);
    window->Children.push_back(std::move(child));
  }
  HWND__* raw = window.get();
  Dialogs.push_back(std::move(window));
  dialog.Attach(raw);

  // As on Windows, owner-drawn boxes have their selection field measured as they are made,
  // before WM_INITDIALOG, while no control object is attached yet.
  for (auto& child : raw->Children)
    if (child->ClassName == "ComboBox" && (child->Style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE))) {
      MEASUREITEMSTRUCT measure{
          ODT_COMBOBOX, static_cast<UINT>(child->Id), static_cast<UINT>(-1), 0, OfferedFieldHeight, 0};
      Backend::Send(raw, WM_MEASUREITEM, static_cast<WPARAM>(child->Id), reinterpret_cast<LPARAM>(&measure));
      child->FieldHeight = measure.itemHeight;
    }
  if (mirror) mirror(raw);
  // TRUE from WM_INITDIALOG: the focus goes to the first tab stop that takes it; with none, the
  // dialog keeps it (under Wine a static text gets it, which takes no keys either).
  if (Backend::Send(raw, WM_INITDIALOG, 0, 0)) Reactivate(raw, nullptr);
  return raw;
}

void Reactivate(HWND__* dialog, HWND__* savedFocus) {
  if (!IsWindow(dialog)) return;
  if (savedFocus && IsWindow(savedFocus) && TakesInput(savedFocus)) {
    Backend::Focus(savedFocus);
  } else if (HWND__* first = NextTabStop(dialog, nullptr, false)) {
    UserTabsInto(first);
  } else {
    Backend::Focus(dialog);
  }
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

bool IsWindow(const HWND__* window) {
  if (!window) return false;
  for (const auto& dialog : Dialogs) {
    if (dialog.get() == window) return true;
    for (const auto& child : dialog->Children)
      if (child.get() == window) return true;
  }
  return false;
}

}  // namespace WindowModel
