// The open-file dialog over QFileDialog: the same filter entries, an existing file only,
// owned by the main window.

#include <QFileDialog>

#include "framework/CFileDialog.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/qt/QtWindow.h"

namespace {

// "Name (*.a;*.b)|*.a;*.b|...||" as Qt writes filters: "Name (*.a *.b)"; "*.*" is every file.
QStringList NameFilters(const CString& filter) {
  QStringList entries = QString::fromUtf8(filter.Str().c_str()).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < entries.size(); i += 2) {
    if (entries[i].isEmpty()) break;
    QString name = entries[i];
    const qsizetype open = name.indexOf('(');
    if (open >= 0) name.truncate(open);
    QString patterns = entries[i + 1];
    patterns.replace(';', ' ');
    if (patterns == "*.*") patterns = "*";
    filters << name.trimmed() + " (" + patterns + ")";
  }
  return filters;
}

}  // namespace

int CFileDialog::DoModal() {
  CWnd* main = AfxGetMainWnd();
  QFileDialog dialog(main && main->m_hWnd ? main->m_hWnd->Widget.data() : nullptr);
  dialog.setAcceptMode(OpenFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(Flags & OFN_FILEMUSTEXIST ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setNameFilters(NameFilters(Filter));
  if (!DefaultExtension.IsEmpty()) dialog.setDefaultSuffix(QString::fromUtf8(DefaultExtension.Str().c_str()));
  if (!FileName.IsEmpty()) dialog.selectFile(QString::fromUtf8(FileName.Str().c_str()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return IDCANCEL;
  PathName = CString(dialog.selectedFiles().front().toStdString());
  return IDOK;
}
