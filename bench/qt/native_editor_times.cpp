// One run of the native editor, timed: from the process's start (the launcher's clock,
// given as the first argument in microseconds since the epoch, as bash's $EPOCHREALTIME
// without its point) to the editor's window first painted, and Load from the click on the
// file dialog's Open to the fields refreshed. Prints "start MS load MS".
//   native_editor_times START_US IMAGE

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QEvent>
#include <QFileDialog>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <string>

#include "QtDriver.h"
#include "framework/CWinApp.h"
#include "framework/qt/QtWindow.h"
#include "rom/RomLayout.h"

namespace {

double NowUs() {
  return static_cast<double>(
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::system_clock::now().time_since_epoch()).count());
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

  double clicked = 0, loaded = 0;
  bool shown = false;
  QtDriver::RunEditor([&](CEditorDlg& editor) {
    QtDriver::WaitFor([&] { return painted.At != 0; });
    QtDriver::WhenModalOpens([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      if (!dialog) return;
      dialog->selectFile(QString::fromStdString(image));
      QPushButton* open = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
      clicked = NowUs();
      QTest::mouseClick(open, Qt::LeftButton);
    });
    QtDriver::Menu(editor, "&File", "&Load");
    loaded = NowUs();  // the command has run whole by now: it runs inside the menu's posting
    shown = QtDriver::Box(editor, IDC_ESPER)->count() == RomLayout::EsperCount;
  });
  if (!shown || clicked == 0) {
    std::fprintf(stderr, "native_editor_times: the load did not happen\n");
    return 1;
  }
  std::printf("start %.1f load %.1f\n", (painted.At - started) / 1000.0, (loaded - clicked) / 1000.0);
  return 0;
}
