// Messages, window texts, the focus and combo box items of the model's windows: a message
// goes to the window's attached object, and what no object takes to the window's own
// handling (Controls.cpp).

#include "framework/Backend.h"
#include "framework/CWnd.h"
#include "framework/model/ModelInternal.h"

namespace {
int Lookups = 0;  // Backend::DlgItem calls: the framework asking for a control
}  // namespace

namespace WindowModel {
int ControlLookups() { return Lookups; }
}  // namespace WindowModel

namespace Backend {

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window) return 0;
  if (CWnd* object = CWnd::FromHandlePermanent(window)) return object->WindowProc(message, wParam, lParam);
  return WindowModel::BuiltInProc(window, message, wParam, lParam);
}

LRESULT DefaultProc(CWnd& object, UINT message, WPARAM wParam, LPARAM lParam) {
  return WindowModel::BuiltInProc(object.m_hWnd, message, wParam, lParam);
}

bool Subclass(CWnd&) { return true; }  // an attached object already gets every message
void Unsubclass(CWnd&) {}

HWND DlgItem(HWND dialog, int id) {
  ++Lookups;
  if (!dialog) return nullptr;
  for (auto& child : dialog->Children)
    if (child->Id == id) return child.get();
  return nullptr;
}

int CtrlId(HWND window) { return window ? window->Id : 0; }
HWND ParentOf(HWND window) { return window ? window->Parent : nullptr; }

void SetText(HWND window, const CString& utf8) {
  Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(utf8.Str().c_str()));
}
CString GetText(HWND window) { return window ? CString(window->Text) : CString(); }

void Focus(HWND window) {
  if (!WindowModel::TakesInput(window)) return;  // SetFocus fails on a disabled window
  WindowModel::SetFocusedWindow(window);         // as SetFocus: the selection of an edit stays as it was
  if (window->Peer) window->Peer->FocusTaken();
}

bool Enable(HWND window, bool enable) {
  if (!window) return false;
  const bool wasDisabled = (window->Style & WS_DISABLED) != 0;
  if (wasDisabled != enable) return wasDisabled;
  window->Style ^= WS_DISABLED;
  if (!enable) WindowModel::LoseFocus(window);  // measured under Wine: the focus goes to no window
  if (window->Peer) window->Peer->EnabledChanged();
  return wasDisabled;
}

bool IsEnabled(HWND window) { return window && !(window->Style & WS_DISABLED); }

void Invalidate(HWND window, bool) {
  if (window) WindowModel::Repainted(window);
}

int AddItem(HWND combo, const CString& bytes) {
  return static_cast<int>(Send(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(bytes.Str().c_str())));
}

CString ItemText(HWND combo, int index) {
  if (!combo || index < 0 || index >= static_cast<int>(combo->Items.size())) return {};
  return CString(combo->Items[static_cast<std::size_t>(index)]);
}

}  // namespace Backend
