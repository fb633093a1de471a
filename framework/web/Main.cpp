// The entry point of a framework program on the web backend: the program runs as the page's
// main loop (see WebPage.h) until its main window ends.

#include "framework/CWinApp.h"
#include "framework/web/PageCalls.h"
#include "framework/web/WebApp.h"

int main() {
  InstallFileSystem(&WebApp::Files());
  // The static initialisers have built the application object by now.
  CWinApp* app = AfxGetApp();
  const int code = app ? app->Run() : 1;
  page_program_ended();
  return code;
}
