#pragma once
// A new file written beside the one it is to replace and put in its place in one step.
// It is created only where nothing has its name, so a file or a link someone put there is
// never written through; it is flushed to disk before the rename and the folder after it,
// so after a crash the destination holds either its old contents or all of the new ones.
// One implementation per platform (posix/, win32/).

#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/CString.h"

class CNewFile {
 public:
  CNewFile() = default;
  CNewFile(const CNewFile&) = delete;
  CNewFile& operator=(const CNewFile&) = delete;
  ~CNewFile();  // closes the file and removes it, unless it was put in place

  // Creates the file at path, open for writing. permissions are the POSIX mode bits it gets
  // exactly, or -1 for the system's default (0666 less the umask); Windows has none and
  // ignores them. Returns false when any entry has that name (NameTaken(): pick another) or
  // when the folder cannot be written to (ErrorText() names the folder). Called once.
  bool Create(const CString& path, int permissions = -1);
  bool NameTaken() const { return Taken; }

  // Creates the file to replace the existing regular file at existing (through symbolic links,
  // their target) under a free name beside it, with its owner, group and mode (Windows: its
  // attributes). False, with ErrorText() saying why, when the new file could not keep the file
  // as it is: it has other hard links, its folder cannot be written, or the process cannot
  // give the owner. Replaced() is then the path to Replace. Called once, instead of Create.
  bool CreateBeside(const CString& existing);
  const CString& Replaced() const { return Target; }

  // Appends count bytes to the file created.
  bool Write(const void* bytes, std::size_t count);
  // Closes the file, so that others may open it by its path and write more.
  bool Close();

  // Closes the file, flushes it to disk (with whatever was written to it by its path), then
  // renames it over destination (in the same folder; it may exist) and flushes the folder.
  // Returns false with ErrorText() when a step failed: before the rename the destination is
  // as it was; InPlace() says that the rename was done and only the folder's flush failed.
  bool Replace(const CString& destination);
  bool InPlace() const { return Placed; }

  const CString& ErrorText() const { return Error; }

 private:
  bool Fail(const std::string& what);  // records what failed with the system's reason

  std::intptr_t Handle = -1;
  CString Made;    // the path created, until it is put in place or removed
  CString Target;  // the file CreateBeside is to replace
  bool Taken = false;
  bool Placed = false;
  CString Error;
};
