#include "framework/MemoryFileSystem.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

// A large buffer read into is often memory new to the process (under the sanitizers always),
// faulted in a page at a time by the copy; asking for all its pages at once, in huge pages
// where they fit, costs a fraction of that. Only whole pages inside the buffer are named, and
// a refusal changes nothing.
void PrepareDestination(void* buffer, std::size_t count) {
#if defined(MADV_POPULATE_WRITE)
  constexpr std::uintptr_t Page = 4096;
  if (count < 16 * Page) return;
  const std::uintptr_t from = (reinterpret_cast<std::uintptr_t>(buffer) + Page - 1) & ~(Page - 1);
  const std::uintptr_t to = (reinterpret_cast<std::uintptr_t>(buffer) + count) & ~(Page - 1);
  // A kept buffer read into again has its pages: the hint would only walk them. Should one
  // have been freed and its addresses taken anew, the copy faults them in as without it.
  thread_local std::array<std::pair<std::uintptr_t, std::uintptr_t>, 4> recent{};
  thread_local std::size_t next = 0;
  for (const auto& [first, last] : recent)
    if (first <= from && to <= last) return;
  recent[next++ % recent.size()] = {from, to};
  ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
  ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#else
  (void)buffer;
  (void)count;
#endif
}

// Narrows [first, last) of a write to the blocks where it changes the file: a save writes
// megabytes over bytes mostly the same, and the fuzz targets put back only what changed.
void Changed(const std::uint8_t* from, const std::uint8_t* to, std::size_t& first, std::size_t& last) {
  constexpr std::size_t Block = 4096;
  while (first < last && std::memcmp(from + first, to + first, std::min(Block, last - first)) == 0)
    first += std::min(Block, last - first);
  while (last > first) {
    const std::size_t block = std::min(Block, last - first);
    if (std::memcmp(from + last - block, to + last - block, block) != 0) break;
    last -= block;
  }
}

void Widen(MemoryFileSystem::Span& span, std::uint64_t first, std::uint64_t last) {
  if (first == last) return;
  if (span.First == span.Last) span = {first, last};
  span.First = std::min(span.First, first);
  span.Last = std::max(span.Last, last);
}

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
    PrepareDestination(buffer, done);
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
    const auto* from = static_cast<const std::uint8_t*>(buffer);
    std::size_t first = 0;
    std::size_t last = count;
    if (Position + count > data.size())
      data.resize(Position + count);
    else
      Changed(from, data.data() + Position, first, last);
    if (first < last) std::memcpy(data.data() + Position + first, from + first, last - first);
    Widen(Entry->Written, Position, Position + count);
    Widen(Entry->Changed, Position + first, Position + last);
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

MemoryFileSystem::Span MemoryFileSystem::TakeChanged(const std::string& path) {
  const auto found = Files.find(path);
  if (found == Files.end()) return {};
  return std::exchange(found->second->Changed, Span{});
}

std::unique_ptr<FileSystem::File> MemoryFileSystem::Open(const CString& path, bool writing, CString& why) {
  const auto found = Files.find(path.Str());
  if (found == Files.end()) {
    Failed(why, ENOENT);
    return nullptr;
  }
  return std::make_unique<MemoryFile>(found->second, writing);
}

MemoryFileSystem& ProcessMemoryFiles() {
  static MemoryFileSystem* files = [] {
    auto* memory = new MemoryFileSystem;  // never freed: CFile may use it until the process ends
    InstallFileSystem(memory);
    return memory;
  }();
  return *files;
}
