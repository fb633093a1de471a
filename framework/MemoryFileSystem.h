#pragma once
// Files held in memory by path, for a process that has no disk to give CFile or wants none:
// the page (the files the user gave it, framework/web/Files.cpp), and the fuzz targets and
// tests, so that a load and a save cost no system call. A file behaves as one on disk does
// for CFile: a write past the end makes it longer (zeros in any gap), a read there moves
// nothing, and a file removed while open stays readable through that handle.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/FileSystem.h"

class MemoryFileSystem : public FileSystem {
 public:
  using Bytes = std::vector<std::uint8_t>;

  // The bytes of the file at path, created empty when there is none. They may be changed,
  // or swapped for others, while the file is not open.
  Bytes& Contents(const std::string& path);
  bool Exists(const std::string& path) const { return Files.count(path) > 0; }
  void Remove(const std::string& path) { Files.erase(path); }

  // Where the file at path was written since the last call: from First to one past Last;
  // First == Last when nothing was written.
  struct Span {
    std::uint64_t First = 0;
    std::uint64_t Last = 0;
  };
  Span TakeWritten(const std::string& path);
  // Where writes changed the file's bytes since the last call: a span over every byte changed,
  // within the written one, maybe with some written unchanged; First == Last when none was.
  Span TakeChanged(const std::string& path);

  std::unique_ptr<File> Open(const CString& path, bool writing, CString& why) override;

  struct Entry {
    Bytes Data;
    Span Written;
    Span Changed;
  };

 private:
  std::map<std::string, std::shared_ptr<Entry>> Files;
};

// One in-memory file system for the whole process, installed under CFile by the first call
// (the fuzz targets' files; the page keeps its own beside what it adds).
MemoryFileSystem& ProcessMemoryFiles();
