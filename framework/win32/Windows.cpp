// Messages, subclassing, window texts, combo box items and message boxes over USER32.

#include <unordered_map>
#include <vector>

#include "framework/Backend.h"
#include "framework/CWnd.h"
#include "framework/win32/Utf16.h"
#include "framework/win32/WindowRouting.h"

namespace {
// The procedure each routed window had before (a dialog's class procedure, a control's own).
std::unordered_map<HWND, WNDPROC>& OriginalProcs() {
  static auto* procs = new std::unordered_map<HWND, WNDPROC>;  // never destroyed: see Drawing.cpp
  return *procs;
}

// CB_ADDSTRING and CB_GETLBTEXT given as bytes (as Send receives them from neutral code).
LRESULT SendItemMessage(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == CB_ADDSTRING) return Backend::AddItem(combo, reinterpret_cast<const char*>(lParam));
  if (SendMessageW(combo, CB_GETLBTEXTLEN, wParam, 0) == CB_ERR) return CB_ERR;
  CString text = Backend::ItemText(combo, static_cast<int>(wParam));
  auto* buffer = reinterpret_cast<char*>(lParam);  // room for CB_GETLBTEXTLEN + 1 bytes
  text.Str().copy(buffer, text.Str().size());
  buffer[text.Str().size()] = '\0';
  return text.GetLength();
}
}  // namespace

namespace Win32Routing {

LRESULT CallOriginal(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto found = OriginalProcs().find(window);
  if (found == OriginalProcs().end()) return DefWindowProcW(window, message, wParam, lParam);
  return CallWindowProcW(found->second, window, message, wParam, lParam);
}

LRESULT CALLBACK RoutedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* object = CWnd::FromHandlePermanent(window);
  LRESULT result = object ? object->WindowProc(message, wParam, lParam) : CallOriginal(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The window's last message: free its object so it can be reused or destroyed.
    if (CWnd* attached = CWnd::FromHandlePermanent(window)) attached->Detach();
    OriginalProcs().erase(window);
    DetachDeadWindows();
  }
  return result;
}

void DetachDeadWindows() {
  std::vector<HWND> dead;
  for (const auto& entry : OriginalProcs())
    if (!IsWindow(entry.first)) dead.push_back(entry.first);
  for (HWND window : dead) {
    if (CWnd* object = CWnd::FromHandlePermanent(window)) object->Detach();
    OriginalProcs().erase(window);
  }
}

}  // namespace Win32Routing

namespace Backend {

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == CB_ADDSTRING || message == CB_GETLBTEXT) return SendItemMessage(window, message, wParam, lParam);
  // Windows clears the selection for an index the list lacks; Wine 8 keeps the old one (CB_ERR
  // all the same): cleared here so that every system shows "no selection".
  if (message == CB_SETCURSEL) {
    const auto index = static_cast<int>(static_cast<INT_PTR>(wParam));
    if (index < 0 || index >= static_cast<int>(SendMessageW(window, CB_GETCOUNT, 0, 0))) {
      SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
      return CB_ERR;
    }
  }
  // A routed window's procedure hands the message to its object.
  return SendMessageW(window, message, wParam, lParam);
}

LRESULT DefaultProc(CWnd& object, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!object.m_hWnd) return 0;
  return Win32Routing::CallOriginal(object.m_hWnd, message, wParam, lParam);
}

bool Subclass(CWnd& object) {
  HWND window = object.m_hWnd;
  if (!window || !IsWindow(window)) return false;
  if (OriginalProcs().count(window)) return true;
  auto before = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32Routing::RoutedProc)));
  if (!before) return false;
  OriginalProcs()[window] = before;
  return true;
}

void Unsubclass(CWnd& object) {
  HWND window = object.m_hWnd;
  auto found = OriginalProcs().find(window);
  if (found == OriginalProcs().end()) return;
  // When someone routed the window on top of us, our procedure stays in their chain and
  // keeps forwarding to the original; otherwise put the original back.
  auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  if (current != &Win32Routing::RoutedProc && IsWindow(window)) return;
  if (IsWindow(window)) SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second));
  OriginalProcs().erase(found);
}

// A server round trip under Wine: the framework asks once per control (see CWnd::GetDlgItem).
HWND DlgItem(HWND dialog, int id) { return dialog ? GetDlgItem(dialog, id) : nullptr; }
int CtrlId(HWND window) { return window ? GetDlgCtrlID(window) : 0; }
HWND ParentOf(HWND window) { return window ? GetParent(window) : nullptr; }

void SetText(HWND window, const CString& utf8) { SetWindowTextW(window, WidenUtf8(utf8.View()).c_str()); }

CString GetText(HWND window) {
  int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return NarrowToUtf8(text);
}

void Focus(HWND window) {
  if (window) SetFocus(window);
}

bool Enable(HWND window, bool enable) { return window && ::EnableWindow(window, enable ? TRUE : FALSE); }
bool IsEnabled(HWND window) { return window && ::IsWindowEnabled(window); }

void Invalidate(HWND window, bool erase) {
  if (window) InvalidateRect(window, nullptr, erase ? TRUE : FALSE);
}

int ShowMessageBox(HWND owner, const CString& text, const CString& caption, UINT type) {
  return MessageBoxW(owner, WidenUtf8(text.View()).c_str(), WidenUtf8(caption.View()).c_str(), type);
}

int AddItem(HWND combo, const CString& bytes) {
  std::wstring units = BytesToUnits(bytes.View());
  return static_cast<int>(SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(units.c_str())));
}

CString ItemText(HWND combo, int index) {
  LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR || length <= 0) return {};
  std::wstring units(static_cast<std::size_t>(length) + 1, L'\0');
  LRESULT got = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(units.data()));
  if (got == CB_ERR || got < 0) return {};
  units.resize(static_cast<std::size_t>(got < length ? got : length));
  return UnitsToBytes(units);
}

}  // namespace Backend
