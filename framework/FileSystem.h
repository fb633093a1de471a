#pragma once
// What CFile stands on: the platform's files (posix/, win32/) unless a process installs
// another for itself, such as files held in memory for fuzzing or a layer over the real
// files that fails on purpose for a test. The programs we ship never install one.
//
// Each operation that fails says why in why: the system's own words, without CFile's
// "cannot ..." in front, which CFile adds.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "framework/CString.h"

class FileSystem {
 public:
  // One open file. Destroying it closes it, ignoring errors.
  class File {
   public:
    virtual ~File() = default;
    virtual bool GetLength(std::uint64_t& length, CString& why) = 0;
    // Moves up to count bytes from the current position and returns how many moved: fewer
    // at the end of the file, or on an error, which then sets why (left empty at the end).
    virtual std::size_t Read(void* buffer, std::size_t count, CString& why) = 0;
    virtual bool Seek(std::int64_t offset, CString& why) = 0;  // from the beginning
    // All count bytes at the current position, over what the file holds there.
    virtual bool Write(const void* buffer, std::size_t count, CString& why) = 0;
    virtual bool Flush(CString& why) = 0;  // written bytes onto the disk
    // The file is closed afterwards whatever the result.
    virtual bool Close(CString& why) = 0;
  };

  virtual ~FileSystem() = default;
  // Opens an existing regular file, for reading only or for reading and writing; never
  // creates or truncates one. Null, with why, when it is missing, a folder, held by another
  // program, or (writing) read-only.
  virtual std::unique_ptr<File> Open(const CString& path, bool writing, CString& why) = 0;
  // The path as the user knows the file: the path itself, unless the file system keeps files
  // under paths of its own (the page's, which holds each file the user gave under a folder
  // that tells it from another of the same name).
  virtual CString ShownPath(const CString& path) const { return path; }
};

// The platform's files.
FileSystem& PlatformFileSystem();

// The file system that CFile opens files on: the platform's unless another is installed.
FileSystem& CurrentFileSystem();

// Files opened from now on are opened on fileSystem (null: the platform's again). It is not
// owned and must outlive every file opened on it.
void InstallFileSystem(FileSystem* fileSystem);
