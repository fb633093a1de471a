#pragma once
// Disk faults for the tests: a layer over the file system in use that makes one chosen
// operation fail the way a failing disk, a full disk or a busy file would, and refuses
// writing to chosen files even for root. It installs itself for its lifetime (nested
// layers end in the reverse order of their start) and is idle until armed.

#include <cstddef>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "framework/FileSystem.h"

class FaultingFileSystem : public FileSystem {
 public:
  enum class Operation { Open, Length, Read, Seek, Write, Flush, Close };

  FaultingFileSystem();
  ~FaultingFileSystem() override;
  FaultingFileSystem(const FaultingFileSystem&) = delete;
  FaultingFileSystem& operator=(const FaultingFileSystem&) = delete;

  // The next call of operation fails (or the one after skip others). A Read or Write first
  // moves bytesFirst bytes for real, so a read comes back short and a write stops half-way; a
  // Close closes for real.
  void Arm(Operation operation, std::size_t bytesFirst = 0, int skip = 0);
  void Disarm() { Armed.reset(); }

  // Opening the file at path for writing fails as for a read-only file, until AllowWriting.
  void DenyWriting(const std::string& path) { ReadOnly.insert(path); }
  void AllowWriting(const std::string& path) { ReadOnly.erase(path); }

  std::unique_ptr<File> Open(const CString& path, bool writing, CString& why) override;
  // The layer's replacements fail as its files do: Write as a write, Commit as a flush.
  std::unique_ptr<Replacement> Replace(const CString& path, CString& why) override;

  // For its files: whether this call must fail (disarming the fault), and how many bytes
  // may move first.
  bool Trip(Operation operation, std::size_t* bytesFirst = nullptr);

 private:
  struct Fault {
    Operation Target;
    std::size_t BytesFirst;
    int Skip;
  };
  FileSystem& Under;
  std::optional<Fault> Armed;
  std::set<std::string> ReadOnly;
};
