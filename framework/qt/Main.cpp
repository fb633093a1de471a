// The entry point of a framework program on the Qt backend. It is kept out of the framework
// library so that tools linking the library keep their own main.

#include <QApplication>
#include <QFileInfo>
#include <QSessionManager>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "version.h"

namespace {

// While Qt starts: a display that cannot be opened ends the program with one line and
// status 1, rather than Qt's abort; its other start-up chatter is not shown.
void StartupMessages(QtMsgType type, const QMessageLogContext&, const QString&) {
  if (type != QtFatalMsg) return;
  const char* display = std::getenv("DISPLAY");
  std::fprintf(stderr, "%s: cannot open a display to show the window on (DISPLAY is %s)\n",
               program_invocation_short_name, display && *display ? display : "not set");
  std::_Exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before Qt starts, so that it needs no display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("%s %s\n", program_invocation_short_name, TAVERO_VERSION);
    return 0;
  }
  qInstallMessageHandler(StartupMessages);
  QApplication application(argc, argv);
  qInstallMessageHandler(nullptr);
  // The desktop session is ending: the main window may ask about unsaved changes and keep
  // the session going, as it does on Windows with WM_QUERYENDSESSION. A session that allows
  // no question is not asked: unsaved edits then stay in their recovery file (ui/Recovery.cpp),
  // offered back at the next Load of the image.
  QObject::connect(&application, &QGuiApplication::commitDataRequest, [](QSessionManager& manager) {
    CWnd* main = AfxGetMainWnd();
    if (!main || !main->m_hWnd || !manager.allowsInteraction()) return;
    const bool mayEnd = main->SendMessage(WM_QUERYENDSESSION) != 0;
    manager.release();
    if (!mayEnd) manager.cancel();
  });
  // The static initialisers have built the application object by now.
  CWinApp* app = AfxGetApp();
  if (!app) return 1;
  if (const QStringList arguments = QApplication::arguments(); arguments.size() > 1)
    app->FileToOpen = CString(QFileInfo(arguments[1]).absoluteFilePath().toStdString());
  return app->Run();
}
