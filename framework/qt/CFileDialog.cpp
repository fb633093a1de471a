// The open-file dialog over QFileDialog: the same filter entries, an existing file only,
// owned by the main window.

#include "framework/CFileDialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QPointer>

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
  // One dialog for the run, kept hidden between uses: it opens in the folder last used, and
  // its teardown (which stores its settings, and takes longer than a whole load) happens
  // once, with its owner, instead of between the user's choice and the load.
  static QPointer<QFileDialog> kept;
  CWnd* main = AfxGetMainWnd();
  QWidget* owner = main ? QtBackend::WidgetOf(main->m_hWnd) : nullptr;
  if (!kept || kept->parentWidget() != owner) {
    delete kept.data();
    kept = new QFileDialog(owner);
  }
  QFileDialog& dialog = *kept;
  dialog.setAcceptMode(OpenFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(Flags & OFN_FILEMUSTEXIST ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setNameFilters(NameFilters(Filter));
  dialog.setDefaultSuffix(QString::fromUtf8(DefaultExtension.Str().c_str()));
  dialog.selectFile(QString::fromUtf8(FileName.Str().c_str()));
  const int answer = dialog.exec();
  // A name typed into the dialog opens its completion list, which Enter leaves open: closed
  // with the dialog, or it stays on screen and takes the keys the editor is meant to get.
  for (QCompleter* completer : dialog.findChildren<QCompleter*>())
    if (completer->popup()) completer->popup()->hide();
  if (owner) owner->activateWindow();
  if (answer != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return IDCANCEL;
  PathName = CString(dialog.selectedFiles().front().toStdString());
  return IDOK;
}
