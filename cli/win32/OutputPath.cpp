// Windows has no FIFOs in its folders; what a path may name besides a file is a device (NUL,
// CON, COM1) or a named pipe: GetFileType tells them from a file on disk.

#include "cli/OutputPath.h"

#include <algorithm>

#include "framework/win32/Utf16.h"
#include "framework/win32/WindowsApi.h"

namespace Cli {

PathKind KindOfPath(const std::string& path) {
  // No access asked: only what the handle names. Backup semantics let a folder open too.
  HANDLE h = CreateFileW(WidenUtf8(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return PathKind::Missing;
  PathKind kind = PathKind::Stream;
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(h) == FILE_TYPE_DISK)
    kind = GetFileInformationByHandle(h, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
               ? PathKind::Folder
               : PathKind::RegularFile;
  CloseHandle(h);
  return kind;
}

bool WriteThrough(const std::string& path, std::span<const std::uint8_t> bytes, std::string* why) {
  HANDLE h = CreateFileW(WidenUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    *why = SystemErrorText(GetLastError()).Str();
    return false;
  }
  bool done = GetFileType(h) != FILE_TYPE_DISK;
  if (!done) SetLastError(ERROR_FILE_EXISTS);  // it was replaced by a file since it was looked at
  for (std::size_t at = 0; done && at < bytes.size();) {
    DWORD put = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - at, 1u << 30));
    done = WriteFile(h, bytes.data() + at, chunk, &put, nullptr) && put > 0;
    if (done) at += put;
  }
  if (!done) *why = SystemErrorText(GetLastError()).Str();
  CloseHandle(h);
  return done;
}

}  // namespace Cli
