// The entry point of a framework program (linked with -municode). It is kept out of the
// framework library so that tools linking the library keep their own main.

#include "framework/CWinApp.h"
#include "framework/win32/Utf16.h"
#include "framework/win32/WindowsApi.h"
// After windows.h, which it needs.
#include <shellapi.h>

// The static initialisers have built the application object by now.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  CWinApp* app = AfxGetApp();
  if (!app) return 1;
  int count = 0;
  if (LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count)) {
    if (count > 1) {
      wchar_t full[MAX_PATH * 4];
      const DWORD length = GetFullPathNameW(arguments[1], MAX_PATH * 4, full, nullptr);
      app->FileToOpen = NarrowToUtf8(length > 0 && length < MAX_PATH * 4 ? std::wstring(full, length) : arguments[1]);
    }
    LocalFree(arguments);
  }
  return app->Run();
}
