// The entry point of a framework program on the Qt backend. It is kept out of the framework
// library so that tools linking the library keep their own main.

#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "framework/CWinApp.h"

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
  qInstallMessageHandler(StartupMessages);
  QApplication application(argc, argv);
  qInstallMessageHandler(nullptr);
  // The static initialisers have built the application object by now.
  CWinApp* app = AfxGetApp();
  return app ? app->Run() : 1;
}
