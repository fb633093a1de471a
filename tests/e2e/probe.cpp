// Loaded into TAVERO.EXE by the driver, since Wine does not carry messages that answer with
// an icon between processes: a thread of the editor's own process asks the editor window
// and leaves the answers in the driver's mapping.

#include "Probe.h"

namespace {

BOOL CALLBACK FindEditor(HWND window, LPARAM found) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t caption[16] = {}, name[16] = {};
  GetWindowTextW(window, caption, 16);
  GetClassNameW(window, name, 16);
  // The editor has the rate fields; a message box shares its caption but not its controls.
  if (owner == GetCurrentProcessId() && std::wcscmp(caption, L"TAVERO") == 0 && std::wcscmp(name, L"#32770") == 0 &&
      GetDlgItem(window, 1013)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

std::uint64_t Ask(HWND window, UINT message, WPARAM wParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, 0, SMTO_NORMAL, 5000, &result)) return 0;
  return static_cast<std::uint64_t>(result);
}

DWORD WINAPI AskEditor(void* module) {
  wchar_t name[64];
  Probe::MappingName(name, GetCurrentProcessId());
  if (HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, name)) {
    if (auto* answer =
            static_cast<Probe::Answer*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(Probe::Answer)))) {
      HWND editor = nullptr;
      EnumWindows(FindEditor, reinterpret_cast<LPARAM>(&editor));
      if (editor) {
        answer->DragIcon = Ask(editor, WM_QUERYDRAGICON, 0);
        answer->BigIcon = Ask(editor, WM_GETICON, ICON_BIG);
        answer->SmallIcon = Ask(editor, WM_GETICON, ICON_SMALL);
      }
      InterlockedExchange(&answer->Done, editor ? 1 : 2);
      UnmapViewOfFile(answer);
    }
    CloseHandle(mapping);
  }
  FreeLibraryAndExitThread(static_cast<HMODULE>(module), 0);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(module);
    // Not from here, under the loader lock: from a thread of its own.
    if (HANDLE thread = CreateThread(nullptr, 0, AskEditor, module, 0, nullptr)) CloseHandle(thread);
  }
  return TRUE;
}
