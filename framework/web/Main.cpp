// The entry point of a framework program on the web backend: the program runs as the page's
// main loop (see WebPage.h) until its main window ends.

#include <emscripten.h>

#include "framework/CWinApp.h"
#include "framework/web/WebApp.h"

namespace {
// The page's JavaScript, which the formatter would take for C++ ("===" became "== =").
// clang-format off
EM_JS(void, PageProgramEnded, (), { TaveroPage.programEnded(); });
// clang-format on
}  // namespace

int main() {
  InstallFileSystem(&WebApp::Files());
  // The static initialisers have built the application object by now.
  CWinApp* app = AfxGetApp();
  const int code = app ? app->Run() : 1;
  PageProgramEnded();
  return code;
}
