// One run of the native editor, timed: from the process's start (the launcher's clock,
// given as the first argument in microseconds since the epoch, as bash's $EPOCHREALTIME
// without its point) to the editor's window first painted, and Load from the click on the
// file dialog's Open to the fields refreshed. Prints "start MS load MS".
//   native_editor_times START_US IMAGE
// It drives the editor itself, as little as it needs: File > Load, then the file dialog.

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <string>

#include "framework/Backend.h"
#include "framework/CWinApp.h"
#include "framework/qt/QtWindow.h"
#include "rom/RomLayout.h"
#include "ui/CEditorDlg.h"

namespace {

double NowUs() {
  return static_cast<double>(
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::system_clock::now().time_since_epoch())
          .count());
}

// Notes when the editor's window is first painted.
class FirstPaint : public QObject {
 public:
  double At = 0;
  bool eventFilter(QObject* object, QEvent* event) override {
    if (At == 0 && event->type() == QEvent::Paint && object->isWidgetType() &&
        static_cast<QWidget*>(object)->isWindow() && qobject_cast<QDialog*>(object))
      At = NowUs();
    return false;
  }
};

// The item of the menu bar's pop-up popup whose text is item (both with their mnemonics), or null.
QAction* MenuItem(QWidget* window, const QString& popup, const QString& item) {
  QMenuBar* bar = window ? window->findChild<QMenuBar*>() : nullptr;
  for (QAction* opener : bar ? bar->actions() : QList<QAction*>())
    if (opener->text() == popup && opener->menu())
      for (QAction* action : opener->menu()->actions())
        if (action->text() == item) return action;
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: native_editor_times START_US IMAGE\n");
    return 2;
  }
  const double started = std::stod(argv[1]);
  const std::string image = argv[2];
  QApplication application(argc, argv);
  AfxGetApp()->m_pszAppName = "tavero";
  FirstPaint painted;
  application.installEventFilter(&painted);

  // The file dialog, when it opens, is given the image and its Open clicked.
  double clicked = 0;
  QTimer answering;
  QObject::connect(&answering, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible() || clicked != 0) return;
    dialog->selectFile(QString::fromStdString(image));
    QPushButton* open = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
    clicked = NowUs();
    QTest::mouseClick(open, Qt::LeftButton);
  });
  answering.start(5);

  double loaded = 0;
  bool shown = false;
  CEditorDlg editor;
  AfxGetApp()->m_pMainWnd = &editor;
  QTimer::singleShot(0, [&] {
    const bool painting = QTest::qWaitFor([&] { return painted.At != 0; }, 5000);
    QAction* load = MenuItem(QtBackend::WidgetOf(editor.m_hWnd), "&File", "&Load");
    if (painting && load) {
      load->trigger();
      QTest::qWait(0);  // the command is posted: it runs whole, file dialog and all, in here
      loaded = NowUs();
      auto* box = qobject_cast<QComboBox*>(QtBackend::WidgetOf(Backend::DlgItem(editor.m_hWnd, IDC_ESPER)));
      shown = box && box->count() == RomLayout::EsperCount;
    }
    editor.EndDialog(IDCANCEL);
  });
  editor.DoModal();
  AfxGetApp()->m_pMainWnd = nullptr;

  if (!shown || clicked == 0) {
    std::fprintf(stderr, "native_editor_times: the load did not happen\n");
    return 1;
  }
  std::printf("start %.1f load %.1f\n", (painted.At - started) / 1000.0, (loaded - clicked) / 1000.0);
  return 0;
}
