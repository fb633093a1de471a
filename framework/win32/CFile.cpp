// The platform's files on Windows, and CFile::Replace.
#include "framework/CFile.h"

#include <algorithm>

#include "framework/win32/Utf16.h"
#include "framework/win32/WindowsApi.h"

namespace {

bool Failed(CString& why) {
  why = SystemErrorText(GetLastError());
  return false;
}

class Win32File : public FileSystem::File {
 public:
  explicit Win32File(HANDLE handle) : Handle(handle) {}
  ~Win32File() override {
    if (Handle != INVALID_HANDLE_VALUE) CloseHandle(Handle);
  }

  bool GetLength(std::uint64_t& length, CString& why) override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(Handle, &size)) return Failed(why);
    length = static_cast<std::uint64_t>(size.QuadPart);
    return true;
  }

  std::size_t Read(void* buffer, std::size_t count, CString& why) override {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
      DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
      DWORD got = 0;
      if (!ReadFile(Handle, bytes + done, chunk, &got, nullptr)) {
        Failed(why);
        break;
      }
      if (got == 0) break;
      done += got;
    }
    return done;
  }

  bool Seek(std::int64_t offset, CString& why) override {
    LARGE_INTEGER to{};
    to.QuadPart = offset;
    return SetFilePointerEx(Handle, to, nullptr, FILE_BEGIN) || Failed(why);
  }

  bool Write(const void* buffer, std::size_t count, CString& why) override {
    const auto* bytes = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
      DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
      DWORD put = 0;
      if (!WriteFile(Handle, bytes + done, chunk, &put, nullptr)) return Failed(why);
      if (put == 0) {
        SetLastError(ERROR_WRITE_FAULT);
        return Failed(why);
      }
      done += put;
    }
    return true;
  }

  bool Flush(CString& why) override { return FlushFileBuffers(Handle) || Failed(why); }

  bool Close(CString& why) override {
    HANDLE h = Handle;
    Handle = INVALID_HANDLE_VALUE;
    return CloseHandle(h) || Failed(why);
  }

 private:
  HANDLE Handle;
};

class Win32FileSystem : public FileSystem {
 public:
  std::unique_ptr<Replacement> Replace(const CString& path, CString& why) override {
    return ReplaceByNewFile(path, why);
  }

  std::unique_ptr<File> Open(const CString& path, bool writing, CString& why) override {
    // OPEN_EXISTING neither creates nor truncates; others may read while we hold it.
    HANDLE h = CreateFileW(WidenUtf8(path.View()).c_str(), writing ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                           writing ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      Failed(why);
      return nullptr;
    }
    // A console, NUL, a pipe or a port opens as well as a file: only a file on disk is one.
    if (GetFileType(h) != FILE_TYPE_DISK) {
      CloseHandle(h);
      why = CString("not a regular file");
      return nullptr;
    }
    return std::make_unique<Win32File>(h);
  }
};

}  // namespace

FileSystem& PlatformFileSystem() {
  static Win32FileSystem files;
  return files;
}

bool CFile::Replace(const CString& from, const CString& to, CString* why) {
  if (MoveFileExW(WidenUtf8(from.View()).c_str(), WidenUtf8(to.View()).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  *why = CString("cannot put the new file in place: ") + SystemErrorText(GetLastError());
  return false;
}
