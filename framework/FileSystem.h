#pragma once
// What CFile stands on: the platform's files (posix/, win32/) unless a process installs
// another for itself, such as files held in memory (MemoryFileSystem.h) for fuzzing or a
// layer over the real files that fails on purpose for a test. Of the programs we ship only
// the page installs one: the files the user gave it, in memory (web/Main.cpp, web/Files.cpp).
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

  // A new file that takes the place of an existing one whole: written beside it and renamed
  // over it in one step, so that an interruption leaves the old file or the new one.
  // Destroying it before Commit removes the new file.
  class Replacement {
   public:
    virtual ~Replacement() = default;
    virtual bool Write(const void* buffer, std::size_t count, CString& why) = 0;  // appends
    // Flushes the new file to disk, renames it over the old one and flushes the folder. False
    // with why when the old file is as it was; true once renamed, with why saying so when the
    // folder could not be flushed.
    virtual bool Commit(CString& why) = 0;
  };

  // Starts replacing the regular file at path (through a symbolic link, the link's target)
  // by a new file that keeps its owner, group and mode (Windows: its attributes). Null, with
  // why, when a replacement would not keep the file as it is: it has other hard links, its
  // folder cannot be written, or its owner cannot be given; the caller writes in place then.
  // Files held in memory are always written in place.
  virtual std::unique_ptr<Replacement> Replace(const CString& path, CString& why);

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

// The platform file systems' Replace: a CNewFile beside the file (NewFile.h).
std::unique_ptr<FileSystem::Replacement> ReplaceByNewFile(const CString& path, CString& why);

// The file system that CFile opens files on: the platform's unless another is installed.
FileSystem& CurrentFileSystem();

// Files opened from now on are opened on fileSystem (null: the platform's again). It is not
// owned and must outlive every file opened on it.
void InstallFileSystem(FileSystem* fileSystem);
