// Messages, window texts, the focus, combo box items and message boxes of the Qt windows:
// what an object does not handle goes to the control's own handling (Controls.cpp).

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "framework/Backend.h"
#include "framework/CWnd.h"
#include "framework/qt/QtWindow.h"

namespace Backend {

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window) return 0;
  if (CWnd* object = CWnd::FromHandlePermanent(window)) return object->WindowProc(message, wParam, lParam);
  return QtBackend::BuiltInProc(window, message, wParam, lParam);
}

LRESULT DefaultProc(CWnd& object, UINT message, WPARAM wParam, LPARAM lParam) {
  return QtBackend::BuiltInProc(object.m_hWnd, message, wParam, lParam);
}

bool Subclass(CWnd&) { return true; }  // an attached object already gets every message
void Unsubclass(CWnd&) {}

HWND DlgItem(HWND dialog, int id) {
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

CString GetText(HWND window) {
  if (!window || !window->Widget) return {};
  QString text;
  if (auto* edit = qobject_cast<QLineEdit*>(window->Widget)) text = edit->text();
  else if (auto* label = qobject_cast<QLabel*>(window->Widget)) text = label->text();
  else if (auto* button = qobject_cast<QPushButton*>(window->Widget)) text = button->text();
  else text = window->Widget->windowTitle();
  return CString(text.toStdString());
}

void Focus(HWND window) {
  if (window && window->Widget) window->Widget->setFocus(Qt::OtherFocusReason);
}

void Invalidate(HWND window, bool) {
  if (window && window->Widget) window->Widget->update();
}

int ShowMessageBox(HWND owner, const CString& text, const CString& caption, UINT type) {
  const bool question = (type & MB_TYPEMASK) == MB_YESNOCANCEL;
  QMessageBox box((type & MB_ICONMASK) == MB_ICONWARNING ? QMessageBox::Warning : QMessageBox::NoIcon,
                  QString::fromUtf8(caption.Str().c_str()), QString::fromUtf8(text.Str().c_str()),
                  question ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel : QMessageBox::Ok,
                  owner ? owner->Widget.data() : nullptr);
  if (question) {  // as MB_YESNOCANCEL: Yes the default, Escape and the close box Cancel
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
  }
  switch (box.exec()) {
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    default: return IDOK;
  }
}

int AddItem(HWND combo, const CString& bytes) {
  return static_cast<int>(Send(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(bytes.Str().c_str())));
}

CString ItemText(HWND combo, int index) {
  if (!combo || index < 0 || index >= static_cast<int>(combo->Items.size())) return {};
  return CString(combo->Items[static_cast<std::size_t>(index)]);
}

}  // namespace Backend
