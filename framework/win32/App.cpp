// The program's icon and its name.

#include <string>

#include "framework/Backend.h"
#include "framework/win32/Utf16.h"

namespace Backend {

HICON LoadAppIcon(UINT id) {
  // A shared resource icon: the system frees it, never the program.
  return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
}

CString ApplicationName() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (got == 0) return {};
    if (got < path.size()) {
      path.resize(got);
      break;
    }
    path.resize(path.size() * 2);  // cut short: try again with more room
  }
  std::size_t folder = path.find_last_of(L"\\/");
  std::wstring name = folder == std::wstring::npos ? path : path.substr(folder + 1);
  std::size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos && dot > 0) name.resize(dot);
  return NarrowToUtf8(name);
}

}  // namespace Backend
