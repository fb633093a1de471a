// Modal dialogs from the program's resource templates.
//
// The dialog manager calls DialogProc; on the first message it gets for a new dialog, the
// CDialog object is attached and the dialog's window procedure is routed to it (as for a
// subclassed control). From then on every message reaches CWnd::WindowProc first, and the
// object's default handling is the dialog class's own procedure, which asks DialogProc
// again: that answer is "not handled", so the dialog manager does what it always does.

#include "framework/Backend.h"
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "framework/win32/WindowRouting.h"

namespace {
// The dialog whose window is being created; taken by the first message of its window.
thread_local CDialog* Creating = nullptr;

bool ReturnsResultDirectly(UINT message) {
  switch (message) {
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return true;
    default: return false;
  }
}

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialog* dialog = Creating;
  if (!dialog || CWnd::FromHandlePermanent(window)) return FALSE;  // the dialog manager's default
  Creating = nullptr;
  if (!dialog->Attach(window)) return FALSE;
  if (!Backend::Subclass(*dialog)) {
    dialog->Detach();
    return FALSE;
  }
  // This one message came through the dialog manager: answer it the dialog manager's way.
  LRESULT result = dialog->WindowProc(message, wParam, lParam);
  if (ReturnsResultDirectly(message)) return result;
  SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
  return TRUE;
}

HWND OwnerFor(const CDialog& dialog) {
  if (dialog.Parent && dialog.Parent->m_hWnd) return dialog.Parent->m_hWnd;
  // No parent given: the main window owns it, and is disabled while it runs.
  CWnd* main = AfxGetMainWnd();
  return main && main != &dialog ? main->m_hWnd : nullptr;
}
}  // namespace

namespace Backend {

INT_PTR RunModal(CDialog& dialog) {
  if (dialog.m_hWnd) return -1;  // already running
  CDialog* outer = Creating;
  Creating = &dialog;
  INT_PTR result =
      DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialog.TemplateId), OwnerFor(dialog), &DialogProc, 0);
  Creating = outer;
  // The window is gone: its object and those of its controls must not keep its handles.
  if (dialog.m_hWnd && !IsWindow(dialog.m_hWnd)) dialog.Detach();
  Win32Routing::DetachDeadWindows();
  return result;
}

void EndModal(CDialog& dialog, int result) {
  if (dialog.m_hWnd) ::EndDialog(dialog.m_hWnd, result);
}

}  // namespace Backend
