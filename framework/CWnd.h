#pragma once
// A window, or a control in a dialog, with the C++ object attached to it.
// Messages reach WindowProc, which looks them up in the message maps (see OnWndMsg for the
// routing rules) and hands the rest to the window's default handling. Platform parts live
// in the backends (see Backend.h); the routing here is the same on all of them.

#include <utility>
#include <vector>

#include "framework/CCmdTarget.h"
#include "framework/CString.h"

class CDataExchange;

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
  ~CWnd() override;  // detaches; the window itself belongs to whoever created it

  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }

  // The object attached to a window, or null.
  static CWnd* FromHandlePermanent(HWND window);
  BOOL Attach(HWND window);
  HWND Detach();

  // Attaches this object to the dialog's control id; its messages then come here first.
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  // The control with this id. The platform is asked once per id (under Wine each lookup is a
  // server round trip); the answer is kept while this window stays attached, since a
  // dialog's controls live as long as the dialog.
  HWND GetDlgItem(int id) const;
  int GetDlgCtrlID() const;

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  void SetWindowText(const CString& text);  // UTF-8
  CString GetWindowText() const;
  void SetFocus();
  // A disabled window is greyed and takes no input and no focus. TRUE when it was disabled before.
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  // EnableWindow of the control id (MFC's GetDlgItem(id)->EnableWindow(enable)).
  BOOL EnableDlgItem(int id, BOOL enable = TRUE);
  // Redraw off (WM_SETREDRAW): the window does not repaint as it changes, so a list filled
  // item by item is not drawn once per item. Turned back on, it repaints at the next Invalidate.
  void SetRedraw(BOOL redraw = TRUE);
  void Invalidate(BOOL erase = TRUE);  // the whole client area is to be repainted
  // A message box owned by this window, captioned with the application's name.
  int MessageBox(const CString& text, UINT type = MB_OK | MB_ICONEXCLAMATION);

  // Exchanges the dialog's fields with its controls (see CDataExchange). While it runs,
  // this window's control notifications are not dispatched to handlers.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange* exchange);
  bool NotificationsLocked() const { return UpdateDataDepth > 0; }

  // Message routing.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // WM_COMMAND: a control's notification is dropped while UpdateData runs, then offered to
  // the control itself (reflection), then to this window's map; a menu command goes to the
  // map, then to the application. WM_DRAWITEM and WM_MEASUREITEM go to the control's object,
  // found without asking the platform: by the item's window for WM_DRAWITEM, by the id among
  // the controls this window knows (SubclassDlgItem, GetDlgItem) for WM_MEASUREITEM. Other
  // messages go to the map by message alone.
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  // A message a parent hands back to this control; true when the control consumed it.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // The default handling of the message now being handled.
  LRESULT Default();
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  struct Message {
    UINT Id;
    WPARAM WParam;
    LPARAM LParam;
  };
  Message Current{};  // the message WindowProc is handling, for Default()
  int UpdateDataDepth = 0;

 private:
  HWND KnownControl(int id) const;                     // null when the platform has not been asked for it yet
  mutable std::vector<std::pair<int, HWND>> Controls;  // (id, window) as GetDlgItem found them
};
