#pragma once
// An image file opened in place: for reading and writing, never created, never truncated.
// Each operation reports failure by its result; ErrorText() then says why, in words a
// user can read. The file is opened on CurrentFileSystem() (FileSystem.h).

#include <cstddef>
#include <cstdint>
#include <memory>

#include "framework/CString.h"
#include "framework/FileSystem.h"

class CFile {
 public:
  enum OpenFlags : unsigned { modeRead = 0x0000, modeReadWrite = 0x0002 };
  enum SeekPosition { begin = 0 };

  CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;
  ~CFile();  // closes a file still open, ignoring errors

  // Opens an existing regular file for reading and writing (modeReadWrite), or for reading
  // only (modeRead). Returns false when the file is missing, a folder, held by another
  // program, or (for writing) read-only or not writable.
  bool Open(const CString& path, unsigned flags);
  bool IsOpen() const;

  // Length of the open file in bytes; false if it cannot be told.
  bool GetLength(std::uint64_t& length);

  // Reads up to count bytes from the current position; returns how many arrived
  // (fewer only at the end of the file or on an error, which ErrorText() names).
  std::size_t Read(void* buffer, std::size_t count);

  bool Seek(std::int64_t offset, SeekPosition from);

  // Writes all count bytes at the current position over the existing contents.
  bool Write(const void* buffer, std::size_t count);

  // Pushes written bytes to the disk.
  bool Flush();

  bool Close();

  const CString& ErrorText() const { return Error; }

  // Renames the file from over the file to (which may exist) in one step, so that to holds
  // either its old contents or all of from's. Both must be in one folder. Returns false
  // with *why; both files are then as they were.
  static bool Replace(const CString& from, const CString& to, CString* why);

 private:
  bool Fail(const char* what, const CString& why);  // records what failed and why; false
  bool NotOpen(const char* what);

  std::unique_ptr<FileSystem::File> Handle;  // null when closed
  CString Error;
};
