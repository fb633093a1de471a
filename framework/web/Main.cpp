// The entry point of a framework program on the web backend: the program runs as the page's
// main loop (see WebPage.h) until its main window ends, and again, with the file it held, each
// time the user starts it again: the page keeps its session.

#include "framework/CWinApp.h"
#include "framework/web/PageCalls.h"
#include "framework/web/WebApp.h"
#include "framework/web/WebPage.h"

int main() {
  InstallFileSystem(&WebApp::Files());
  // The static initialisers have built the application object by now.
  CWinApp* app = AfxGetApp();
  if (!app) return 1;
  for (;;) {
    app->Run();
    page_program_ended();
    WebPage::AwaitRestart();
  }
}
