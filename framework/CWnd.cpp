#include "framework/CWnd.h"

#include <unordered_map>

#include "framework/Backend.h"
#include "framework/CDataExchange.h"
#include "framework/CWinApp.h"

namespace {
std::unordered_map<HWND, CWnd*>& HandleMap() {
  static auto* map = new std::unordered_map<HWND, CWnd*>;  // outlives every static CWnd
  return *map;
}
}  // namespace

CWnd::~CWnd() {
  if (m_hWnd) Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
  auto found = HandleMap().find(window);
  return found == HandleMap().end() ? nullptr : found->second;
}

BOOL CWnd::Attach(HWND window) {
  if (!window || m_hWnd || FromHandlePermanent(window)) return FALSE;
  m_hWnd = window;
  HandleMap()[window] = this;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND window = m_hWnd;
  if (window) {
    Backend::Unsubclass(*this);
    HandleMap().erase(window);
  }
  m_hWnd = nullptr;
  Controls.clear();  // the next window behind this object has controls of its own
  return window;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  HWND control = parent->GetDlgItem(static_cast<int>(id));  // so the parent knows it from now on
  if (!Attach(control)) return FALSE;
  if (!Backend::Subclass(*this)) {
    HandleMap().erase(control);
    m_hWnd = nullptr;
    return FALSE;
  }
  return TRUE;
}

HWND CWnd::KnownControl(int id) const {
  for (const auto& [known, window] : Controls)
    if (known == id) return window;
  return nullptr;
}

HWND CWnd::GetDlgItem(int id) const {
  if (HWND known = KnownControl(id)) return known;
  HWND found = Backend::DlgItem(m_hWnd, id);
  if (found) Controls.emplace_back(id, found);  // a miss is not kept: the control may come later
  return found;
}

int CWnd::GetDlgCtrlID() const { return Backend::CtrlId(m_hWnd); }
LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return Backend::Send(m_hWnd, message, wParam, lParam);
}
LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) {
  return Backend::Send(GetDlgItem(id), message, wParam, lParam);
}
void CWnd::SetWindowText(const CString& text) { Backend::SetText(m_hWnd, text); }
CString CWnd::GetWindowText() const { return Backend::GetText(m_hWnd); }
void CWnd::SetFocus() { Backend::Focus(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return Backend::Enable(m_hWnd, enable != FALSE) ? TRUE : FALSE; }
BOOL CWnd::IsWindowEnabled() const { return Backend::IsEnabled(m_hWnd) ? TRUE : FALSE; }
BOOL CWnd::EnableDlgItem(int id, BOOL enable) {
  return Backend::Enable(GetDlgItem(id), enable != FALSE) ? TRUE : FALSE;
}
void CWnd::SetRedraw(BOOL redraw) { SendMessage(WM_SETREDRAW, redraw ? TRUE : FALSE); }
void CWnd::Invalidate(BOOL erase) { Backend::Invalidate(m_hWnd, erase != FALSE); }

int CWnd::MessageBox(const CString& text, UINT type) {
  CWinApp* app = AfxGetApp();
  CString caption = app ? app->m_pszAppName : CString();
  return Backend::ShowMessageBox(m_hWnd, text, caption, type);
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
  CDataExchange exchange(this, saveAndValidate);
  ++UpdateDataDepth;  // text written into a control must not start its handler
  BOOL ok = TRUE;
  try {
    DoDataExchange(&exchange);
  } catch (const CDataExchange::Failure&) {
    ok = FALSE;
  }
  --UpdateDataDepth;
  return ok;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  Message outer = Current;
  Current = {message, wParam, lParam};
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  Current = outer;
  return result;
}

LRESULT CWnd::Default() { return DefWindowProc(Current.Id, Current.WParam, Current.LParam); }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return Backend::DefaultProc(*this, message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_COMMAND:
      if (!OnCommand(wParam, lParam)) return FALSE;
      *result = 0;
      return TRUE;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      CWnd* control = FromHandlePermanent(item->hwndItem);
      if (!control || !control->OnChildNotify(message, wParam, lParam, result)) return FALSE;
      *result = TRUE;
      return TRUE;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      // One comes per item added: the control is found without asking the platform (under
      // Wine a server round trip). Until its object is attached a control is measured by the
      // platform's default; a combo box passes its list's question on to its parent.
      CWnd* control = FromHandlePermanent(KnownControl(static_cast<int>(item->CtlID)));
      if (!control || !control->OnChildNotify(message, wParam, lParam, result)) return FALSE;
      *result = TRUE;
      return TRUE;
    }
    default: return DispatchMapped(message, 0, 0, result) ? TRUE : FALSE;
  }
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT id = LOWORD(wParam);
  UINT code = HIWORD(wParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  if (control) {
    if (NotificationsLocked()) return TRUE;  // dropped, as if handled
    CWnd* object = FromHandlePermanent(control);
    LRESULT ignored = 0;
    if (object && object->OnChildNotify(WM_COMMAND, wParam, lParam, &ignored)) return TRUE;
    return DispatchMapped(WM_COMMAND, code, id) ? TRUE : FALSE;
  }
  // Menu command (code 0) or accelerator (code 1).
  if (DispatchMapped(WM_COMMAND, 0, id)) return TRUE;
  CWinApp* app = AfxGetApp();
  return app && app->DispatchMapped(WM_COMMAND, 0, id) ? TRUE : FALSE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  if (message != WM_COMMAND) return FALSE;
  // ON_CONTROL_REFLECT_EX: the handler's TRUE keeps the notification from the parent.
  LRESULT handled = 0;
  if (!DispatchMapped(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0, &handled)) return FALSE;
  if (result) *result = handled;
  return handled ? TRUE : FALSE;
}
