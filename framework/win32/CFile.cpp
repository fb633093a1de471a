#include "framework/CFile.h"

#include "framework/win32/WindowsApi.h"

#include <algorithm>

#include "framework/win32/Utf16.h"

namespace {
HANDLE H(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
}  // namespace

CFile::~CFile() {
  if (IsOpen()) CloseHandle(H(Handle));
}

bool CFile::IsOpen() const { return Handle != -1; }

bool CFile::Fail(const char* what) {
  Error = CString(what) + CString(": ") + SystemErrorText(GetLastError());
  return false;
}

bool CFile::Open(const CString& path, unsigned flags) {
  Error.Empty();
  if (IsOpen()) Close();
  const bool writing = flags == modeReadWrite;
  // OPEN_EXISTING neither creates nor truncates; others may read while we hold it.
  HANDLE h = CreateFileW(WidenUtf8(path.View()).c_str(), writing ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                         writing ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    return Fail(writing ? "cannot open the file for reading and writing" : "cannot open the file for reading");
  Handle = reinterpret_cast<std::intptr_t>(h);
  return true;
}

bool CFile::GetLength(std::uint64_t& length) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(H(Handle), &size)) return Fail("cannot tell the file's length");
  length = static_cast<std::uint64_t>(size.QuadPart);
  return true;
}

std::size_t CFile::Read(void* buffer, std::size_t count) {
  auto* bytes = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(H(Handle), bytes + done, chunk, &got, nullptr)) {
      Fail("cannot read the file");
      break;
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

bool CFile::Seek(std::int64_t offset, SeekPosition from) {
  (void)from;  // only ever from the beginning
  LARGE_INTEGER to{};
  to.QuadPart = offset;
  if (!SetFilePointerEx(H(Handle), to, nullptr, FILE_BEGIN)) return Fail("cannot seek in the file");
  return true;
}

bool CFile::Write(const void* buffer, std::size_t count) {
  const auto* bytes = static_cast<const char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
    DWORD put = 0;
    if (!WriteFile(H(Handle), bytes + done, chunk, &put, nullptr)) return Fail("cannot write the file");
    if (put == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return Fail("cannot write the file");
    }
    done += put;
  }
  return true;
}

bool CFile::Flush() {
  if (!FlushFileBuffers(H(Handle))) return Fail("cannot flush the file to disk");
  return true;
}

bool CFile::Close() {
  if (!IsOpen()) return true;
  HANDLE h = H(Handle);
  Handle = -1;
  if (!CloseHandle(h)) return Fail("cannot close the file");
  return true;
}

bool CFile::Replace(const CString& from, const CString& to, CString* why) {
  if (MoveFileExW(WidenUtf8(from.View()).c_str(), WidenUtf8(to.View()).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  *why = CString("cannot put the new file in place: ") + SystemErrorText(GetLastError());
  return false;
}
