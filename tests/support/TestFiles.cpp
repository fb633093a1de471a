#include "TestFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tavero-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) std::abort();
  Root = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(Root, ignored);
}

std::string TempDir::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
  std::string path = PathOf(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> PatternedBytes(std::size_t length, std::uint32_t seed) {
  std::vector<std::uint8_t> bytes(length);
  std::uint32_t state = seed * 2654435761u + 12345u;
  std::uint8_t previous = 0;
  for (std::size_t i = 0; i < length; ++i) {
    state = state * 1664525u + 1013904223u;
    auto byte = static_cast<std::uint8_t>(state >> 24);
    if (byte == previous) byte = static_cast<std::uint8_t>(byte + 1);
    bytes[i] = previous = byte;
  }
  return bytes;
}

ReadOnlyFile::ReadOnlyFile(std::string path) : Path(std::move(path)) {
  ::chmod(Path.c_str(), 0444);
  Faults.DenyWriting(Path);
}

ReadOnlyFile::~ReadOnlyFile() { ::chmod(Path.c_str(), 0644); }
