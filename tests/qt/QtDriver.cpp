#include "QtDriver.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>

#include "framework/Backend.h"
#include "framework/CWinApp.h"
#include "framework/qt/QtWindow.h"

namespace QtDriver {

namespace {

std::deque<std::function<void(QWidget*)>> Answers;
QWidget* Editor = nullptr;  // the editor's window, which no answer is for

// Answers modal windows as they open, the first queued answer first. One that no answer
// was queued for fails the test and is closed after a while, so that nothing waits forever.
void AnswerModalWindows() {
  static QElapsedTimer unanswered;
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || modal == Editor || !modal->isVisible()) {
    unanswered.invalidate();
    return;
  }
  if (!Answers.empty()) {
    unanswered.invalidate();
    auto answer = std::move(Answers.front());
    Answers.pop_front();
    answer(modal);
    return;
  }
  if (!unanswered.isValid()) unanswered.start();
  if (unanswered.elapsed() < 3000) return;
  unanswered.invalidate();
  QString text = modal->windowTitle();
  if (auto* box = qobject_cast<QMessageBox*>(modal)) text += ": " + box->text();
  ADD_FAILURE() << "a window no answer was queued for stayed open (" << text.toStdString() << ")";
  if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(QDialog::Rejected);
}

QWidget* EditorWidget(CEditorDlg& editor) { return QtBackend::WidgetOf(editor.m_hWnd); }

// Keys go to the active window, which a closed dialog or list may have left none.
void Activate(CEditorDlg& editor) {
  QWidget* window = EditorWidget(editor);
  window->activateWindow();
  if (!QTest::qWaitForWindowActive(window)) ADD_FAILURE() << "the editor did not become the active window";
}

}  // namespace

void RunEditor(const std::function<void(CEditorDlg&)>& script) {
  CEditorDlg editor;
  AfxGetApp()->m_pMainWnd = &editor;
  QTimer answering;
  QObject::connect(&answering, &QTimer::timeout, &AnswerModalWindows);
  answering.start(10);
  QTimer::singleShot(0, [&] {
    Editor = EditorWidget(editor);
    if (!QTest::qWaitForWindowExposed(Editor)) ADD_FAILURE() << "the editor never showed";
    script(editor);
    if (!editor.m_hWnd || !Editor->isVisible()) return;  // the script ended it
    Menu(editor, "&File", "E&xit");
    if (WaitFor([&] { return !Editor->isVisible(); }, 1000)) return;
    ADD_FAILURE() << "File > Exit did not end the editor";
    editor.EndDialog(IDCANCEL);  // so that the run ends whatever the editor asks
  });
  editor.DoModal();
  Answers.clear();
  Editor = nullptr;
  AfxGetApp()->m_pMainWnd = nullptr;
}

void WhenModalOpens(const std::function<void(QWidget*)>& answer) { Answers.push_back(answer); }

bool WaitFor(const std::function<bool()>& condition, int limitMs) { return QTest::qWaitFor(condition, limitMs); }

QComboBox* Box(CEditorDlg& editor, int id) {
  return qobject_cast<QComboBox*>(QtBackend::WidgetOf(Backend::DlgItem(editor.m_hWnd, id)));
}

QLineEdit* Field(CEditorDlg& editor, int id) {
  return qobject_cast<QLineEdit*>(QtBackend::WidgetOf(Backend::DlgItem(editor.m_hWnd, id)));
}

void Menu(CEditorDlg& editor, const QString& popup, const QString& item) {
  Activate(editor);
  QMenuBar* bar = EditorWidget(editor)->findChild<QMenuBar*>();
  QAction* opener = nullptr;
  for (QAction* action : bar->actions())
    if (action->text() == popup) opener = action;
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(opener).center());
  QMenu* menu = opener->menu();
  if (!WaitFor([&] { return menu->isVisible(); })) ADD_FAILURE() << "a click opened no menu " << qPrintable(popup);
  QTest::keyClick(menu, item.at(item.indexOf('&') + 1).toLatin1());
  QTest::qWait(0);  // the command is posted: it runs once the menu has closed
}

void MenuBarCommand(CEditorDlg& editor, const QString& text) {
  Activate(editor);
  QMenuBar* bar = EditorWidget(editor)->findChild<QMenuBar*>();
  for (QAction* action : bar->actions())
    if (action->text() == text) QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(action).center());
  QTest::qWait(0);
}

void Load(CEditorDlg& editor, const std::string& path, const std::vector<std::function<void(QWidget*)>>& then) {
  WhenModalOpens([path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!dialog) return;
    // The name typed into its field (without the completer's list in the way), then Open.
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    name->setFocus();
    name->setText(QString::fromStdString(path));
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
  });
  for (const auto& answer : then) WhenModalOpens(answer);
  Menu(editor, "&File", "&Load");
}

void LoadByTyping(CEditorDlg& editor, const std::string& path) {
  WhenModalOpens([path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!dialog) return;
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    name->setFocus();
    QTest::keyClicks(name, QString::fromStdString(path), Qt::NoModifier, 5);
    QTest::qWait(300);  // the completion list follows the typing
    QWidget* keys = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : name;
    QTest::keyClick(keys, Qt::Key_Return);
  });
  Menu(editor, "&File", "&Load");
}

void Save(CEditorDlg& editor) { Menu(editor, "&File", "&Save"); }

void Pick(CEditorDlg& editor, int id, int index) {
  Activate(editor);
  QComboBox* box = Box(editor, id);
  QTest::mouseClick(box, Qt::LeftButton);
  if (!WaitFor([&] { return box->view()->isVisible(); })) ADD_FAILURE() << "the list of box " << id << " did not drop";
  QAbstractItemView* list = box->view();
  QTest::keyClick(list, Qt::Key_Home);
  for (int i = 0; i < index; ++i) QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Return);
  WaitFor([&] { return !list->isVisible(); });
}

void TypeOver(CEditorDlg& editor, int id, const QString& keys) {
  Activate(editor);
  QLineEdit* field = Field(editor, id);
  field->setFocus(Qt::TabFocusReason);
  field->selectAll();  // as a Tab into it leaves it, whether or not the focus was there already
  QTest::keyClicks(field, keys);
}

std::function<void(QWidget*)> ReadAndClose(QString* caption, QString* text) {
  return [caption, text](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) return;
    *caption = box->windowTitle();
    *text = box->text();
    for (QAbstractButton* button : box->buttons())
      if (button->text() == "OK") QTest::mouseClick(button, Qt::LeftButton);
  };
}

std::function<void(QWidget*)> ReadAndAnswerWithKey(QString* caption, QString* text, Qt::Key key) {
  return [caption, text, key](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) return;
    *caption = box->windowTitle();
    *text = box->text();
    QTest::keyClick(box, key);
  };
}

QWidget* EditorWindow(CEditorDlg& editor) { return EditorWidget(editor); }

std::function<void(QWidget*)> PressButton(const QString& text) {
  return [text](QWidget* modal) {
    for (QPushButton* button : modal->findChildren<QPushButton*>())
      if (button->text() == text) QTest::mouseClick(button, Qt::LeftButton);
  };
}

}  // namespace QtDriver
