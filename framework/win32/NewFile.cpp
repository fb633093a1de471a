#include "framework/NewFile.h"

#include <algorithm>
#include <string>

#include "framework/win32/Utf16.h"
#include "framework/win32/WindowsApi.h"

namespace {
HANDLE H(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// The folder of a path as the user wrote it, or how to speak of the current one.
std::string FolderNamed(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return "the current folder";
  return "the folder " + path.substr(0, slash == 0 ? 1 : slash);
}
}  // namespace

CNewFile::~CNewFile() {
  if (Handle != -1) CloseHandle(H(Handle));
  if (!Made.IsEmpty() && !Placed) DeleteFileW(WidenUtf8(Made.View()).c_str());
}

bool CNewFile::Fail(const std::string& what) {
  Error = CString(what) + CString(": ") + SystemErrorText(GetLastError());
  return false;
}

bool CNewFile::Create(const CString& path, int permissions) {
  (void)permissions;  // Windows files have no mode bits
  Error.Empty();
  Taken = false;
  // CREATE_NEW fails on any entry of that name, a link included, which is then not followed.
  // Shared for deletion only: a program stopped half-way can still have it removed.
  HANDLE h = CreateFileW(WidenUtf8(path.View()).c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    Taken = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
    return Fail(Taken ? path.Str() + " is already there" : FolderNamed(path.Str()) + " cannot be written to");
  }
  Handle = reinterpret_cast<std::intptr_t>(h);
  Made = path;
  return true;
}

bool CNewFile::CreateBeside(const CString& existing) {
  Error.Empty();
  // Opened to be looked at only; through a link, its target is the file replaced.
  HANDLE h = CreateFileW(WidenUtf8(existing.View()).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Fail("cannot find " + existing.Str());
  BY_HANDLE_FILE_INFORMATION info{};
  std::wstring target(32768, L'\0');
  const DWORD length =
      GetFinalPathNameByHandleW(h, target.data(), static_cast<DWORD>(target.size()), FILE_NAME_NORMALIZED);
  const bool told = GetFileInformationByHandle(h, &info) && length > 0 && length < target.size();
  const DWORD code = GetLastError();
  CloseHandle(h);
  SetLastError(code);
  if (!told) return Fail("cannot look at " + existing.Str());
  target.resize(length);
  if (info.nNumberOfLinks != 1) {
    SetLastError(ERROR_TOO_MANY_LINKS);  // a new file would leave the other names with the old bytes
    return Fail(existing.Str() + " has " + std::to_string(info.nNumberOfLinks) + " links");
  }
  // The attributes a user sets go to the new file; its owner and security are the folder's.
  const DWORD kept = info.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                              FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
  const std::size_t slash = target.find_last_of(L"\\/");
  const std::wstring folder = target.substr(0, slash + 1), name = target.substr(slash + 1);
  for (unsigned attempt = 0;; ++attempt) {
    const std::wstring path = folder + L"." + name + L".tavero-save-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(attempt);
    h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                    kept ? kept : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      Handle = reinterpret_cast<std::intptr_t>(h);
      Made = NarrowToUtf8(path);
      break;
    }
    const DWORD failed = GetLastError();
    if ((failed != ERROR_FILE_EXISTS && failed != ERROR_ALREADY_EXISTS) || attempt == 100)
      return Fail(FolderNamed(existing.Str()) + " cannot be written to");
  }
  Target = NarrowToUtf8(target);
  return true;
}

bool CNewFile::Write(const void* bytes, std::size_t count) {
  const auto* from = static_cast<const char*>(bytes);
  while (count > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    DWORD put = 0;
    if (!WriteFile(H(Handle), from, chunk, &put, nullptr)) return Fail("cannot write the new file");
    if (put == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return Fail("cannot write the new file");
    }
    from += put;
    count -= put;
  }
  return true;
}

bool CNewFile::Close() {
  if (Handle == -1) return true;
  HANDLE h = H(Handle);
  Handle = -1;
  return CloseHandle(h) || Fail("cannot close the new file");
}

bool CNewFile::Replace(const CString& destination) {
  if (!Close()) return false;
  const std::wstring made = WidenUtf8(Made.View());
  HANDLE h = CreateFileW(made.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Fail("cannot flush the new file to disk");
  const bool flushed = FlushFileBuffers(h);
  const DWORD code = GetLastError();
  CloseHandle(h);
  SetLastError(code);
  if (!flushed) return Fail("cannot flush the new file to disk");
  // Write-through: the rename is on disk, folder and all, when the call returns.
  if (!MoveFileExW(made.c_str(), WidenUtf8(destination.View()).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return Fail("cannot put the new file in place");
  Placed = true;
  return true;
}
