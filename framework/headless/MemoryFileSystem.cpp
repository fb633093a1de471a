#include "framework/headless/MemoryFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

namespace Headless {

namespace {

bool Failed(CString& why, int error) {
  why = CString(std::strerror(error));
  return false;
}

class MemoryFile : public FileSystem::File {
 public:
  MemoryFile(std::shared_ptr<MemoryFileSystem::Entry> entry, bool writing)
      : Entry(std::move(entry)), Writing(writing) {}

  bool GetLength(std::uint64_t& length, CString&) override {
    length = Entry->Data.size();
    return true;
  }

  std::size_t Read(void* buffer, std::size_t count, CString&) override {
    const std::size_t size = Entry->Data.size();
    const std::size_t done = Position < size ? std::min<std::size_t>(count, size - Position) : 0;
    if (done > 0) std::memcpy(buffer, Entry->Data.data() + Position, done);
    Position += done;
    return done;
  }

  bool Seek(std::int64_t offset, CString& why) override {
    if (offset < 0) return Failed(why, EINVAL);
    Position = static_cast<std::size_t>(offset);
    return true;
  }

  bool Write(const void* buffer, std::size_t count, CString& why) override {
    if (!Writing) return Failed(why, EBADF);  // as a descriptor opened for reading only
    if (count == 0) return true;
    if (Position > std::numeric_limits<std::size_t>::max() - count) return Failed(why, EFBIG);
    MemoryFileSystem::Bytes& data = Entry->Data;
    if (Position + count > data.size()) data.resize(Position + count);
    std::memcpy(data.data() + Position, buffer, count);
    MemoryFileSystem::Span& written = Entry->Written;
    if (written.First == written.Last) written = {Position, Position};
    written.First = std::min<std::uint64_t>(written.First, Position);
    written.Last = std::max<std::uint64_t>(written.Last, Position + count);
    Position += count;
    return true;
  }

  bool Flush(CString&) override { return true; }
  bool Close(CString&) override { return true; }

 private:
  std::shared_ptr<MemoryFileSystem::Entry> Entry;
  bool Writing;
  std::size_t Position = 0;
};

}  // namespace

MemoryFileSystem::Bytes& MemoryFileSystem::Contents(const std::string& path) {
  std::shared_ptr<Entry>& entry = Files[path];
  if (!entry) entry = std::make_shared<Entry>();
  return entry->Data;
}

MemoryFileSystem::Span MemoryFileSystem::TakeWritten(const std::string& path) {
  const auto found = Files.find(path);
  if (found == Files.end()) return {};
  return std::exchange(found->second->Written, Span{});
}

std::unique_ptr<FileSystem::File> MemoryFileSystem::Open(const CString& path, bool writing, CString& why) {
  const auto found = Files.find(path.Str());
  if (found == Files.end()) {
    Failed(why, ENOENT);
    return nullptr;
  }
  return std::make_unique<MemoryFile>(found->second, writing);
}

}  // namespace Headless
