#pragma once
// Files on disk for the tests: a private temporary folder, images written into it,
// and a way to make a file that cannot be opened for writing, even by root.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "FaultingFileSystem.h"
#include "framework/CString.h"

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // Writes bytes to a file of that name in the folder and returns its path.
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
  std::string PathOf(const std::string& name) const { return (Root / name).string(); }

 private:
  std::filesystem::path Root;
};

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

// Deterministic bytes where no two neighbours are equal, so any stray write shows.
std::vector<std::uint8_t> PatternedBytes(std::size_t length, std::uint32_t seed = 1);

// Makes a file unwritable for the life of the object: mode 0444, and for root (who ignores
// modes) the file layer's own refusal, so the program meets a read-only file either way.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(std::string path);
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

 private:
  std::string Path;
  FaultingFileSystem Faults;
};
