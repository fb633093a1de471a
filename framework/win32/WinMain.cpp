// The entry point of a framework program (linked with -municode). It is kept out of the
// framework library so that tools linking the library keep their own main.

#include "framework/CWinApp.h"
#include "framework/win32/WindowsApi.h"

// The static initialisers have built the application object by now.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  CWinApp* app = AfxGetApp();
  return app ? app->Run() : 1;
}
