// Windows has no SIGTERM from outside: a console program hears Ctrl+C, Ctrl+Break and its
// console closing, each on a thread of its own while the command goes on. The temporary is
// open there, but with FILE_SHARE_DELETE (CNewFile), so deleting it marks it to go when the
// program ends, which the default handler then does. TerminateProcess cannot be heard.

#include "cli/Interruption.h"

#include <atomic>

#include "framework/win32/Utf16.h"
#include "framework/win32/WindowsApi.h"

namespace Cli {

namespace {

constexpr int SlotCount = 8;
constexpr std::size_t LongestPath = 32768;  // in UTF-16 units, as the system allows
wchar_t Paths[SlotCount][LongestPath];
std::atomic<bool> InUse[SlotCount];

BOOL WINAPI RemoveAndEnd(DWORD) {
  for (int i = 0; i < SlotCount; ++i)
    if (InUse[i]) DeleteFileW(Paths[i]);
  return FALSE;  // the next handler, the system's, ends the program
}

}  // namespace

void RemoveTemporariesWhenStopped() { SetConsoleCtrlHandler(RemoveAndEnd, TRUE); }

int NoteTemporary(const std::string& path) {
  const std::wstring wide = WidenUtf8(path);
  if (wide.size() >= LongestPath) return -1;
  for (int i = 0; i < SlotCount; ++i)
    if (!InUse[i]) {
      wide.copy(Paths[i], wide.size());
      Paths[i][wide.size()] = L'\0';
      InUse[i] = true;
      return i;
    }
  return -1;
}

void ForgetTemporary(int slot) {
  if (slot >= 0 && slot < SlotCount) InUse[slot] = false;
}

}  // namespace Cli
