// Folders on Windows, and the user's state folder there: %LOCALAPPDATA%\TAVERO, the folder
// Windows keeps for a program's data on this machine (not roamed to others).

#include <string>

#include "framework/FolderStateFolder.h"
#include "framework/win32/Utf16.h"
#include "framework/win32/WindowsApi.h"

namespace Folders {

bool MakeFolders(const CString& folder, CString& why) {
  const std::wstring path = WidenUtf8(folder.View());
  // Each folder above it in turn; only the last one's failure counts (a drive or a share's
  // root refuses to be made in its own words).
  for (std::size_t at = path.find_first_of(L"\\/", 3);; at = path.find_first_of(L"\\/", at + 1)) {
    const std::wstring part = path.substr(0, at);
    const bool made = CreateDirectoryW(part.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
    if (at != std::wstring::npos) continue;
    if (!made)
      why = CString("cannot make the folder ") + NarrowToUtf8(part) + CString(": ") + SystemErrorText(GetLastError());
    return made;
  }
}

void RemoveFile(const CString& path) { DeleteFileW(WidenUtf8(path.View()).c_str()); }

bool RenameUnlessTaken(const CString& from, const CString& to, bool& taken) {
  // Without MOVEFILE_REPLACE_EXISTING the move fails on an existing name.
  if (MoveFileExW(WidenUtf8(from.View()).c_str(), WidenUtf8(to.View()).c_str(), MOVEFILE_WRITE_THROUGH)) return true;
  taken = GetLastError() == ERROR_ALREADY_EXISTS || GetLastError() == ERROR_FILE_EXISTS;
  return false;
}

char Separator() { return '\\'; }

}  // namespace Folders

StateFolder& UserStateFolder() {
  static FolderStateFolder folder([] {
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
    if (length == 0) return CString();
    std::wstring value(length, L'\0');
    value.resize(GetEnvironmentVariableW(L"LOCALAPPDATA", value.data(), length));
    return value.empty() ? CString() : NarrowToUtf8(value) + CString("\\TAVERO");
  }());
  return folder;
}
