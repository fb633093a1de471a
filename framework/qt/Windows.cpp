// Message boxes over QMessageBox, owned by the window given.

#include <QMessageBox>

#include "framework/Backend.h"
#include "framework/qt/QtWindow.h"

namespace Backend {

int ShowMessageBox(HWND owner, const CString& text, const CString& caption, UINT type) {
  const bool question = (type & MB_TYPEMASK) == MB_YESNOCANCEL;
  QMessageBox box((type & MB_ICONMASK) == MB_ICONWARNING ? QMessageBox::Warning : QMessageBox::NoIcon,
                  QString::fromUtf8(caption.Str().c_str()), QString::fromUtf8(text.Str().c_str()),
                  question ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel : QMessageBox::Ok,
                  QtBackend::WidgetOf(owner));
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

}  // namespace Backend
