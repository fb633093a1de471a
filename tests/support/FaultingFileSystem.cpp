#include "FaultingFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

using Operation = FaultingFileSystem::Operation;

// A fault stands for the system's own error, in its own words.
bool Failed(CString& why, int error) {
  why = CString(std::strerror(error));
  return false;
}

class FaultingFile : public FileSystem::File {
 public:
  FaultingFile(std::unique_ptr<File> under, FaultingFileSystem& faults) : Under(std::move(under)), Faults(faults) {}

  bool GetLength(std::uint64_t& length, CString& why) override {
    return Faults.Trip(Operation::Length) ? Failed(why, EIO) : Under->GetLength(length, why);
  }

  std::size_t Read(void* buffer, std::size_t count, CString& why) override {
    std::size_t first = 0;
    if (!Faults.Trip(Operation::Read, &first)) return Under->Read(buffer, count, why);
    const std::size_t done = Under->Read(buffer, std::min(first, count), why);
    if (why.IsEmpty()) Failed(why, EIO);
    return done;
  }

  bool Seek(std::int64_t offset, CString& why) override {
    return Faults.Trip(Operation::Seek) ? Failed(why, EIO) : Under->Seek(offset, why);
  }

  bool Write(const void* buffer, std::size_t count, CString& why) override {
    std::size_t first = 0;
    if (!Faults.Trip(Operation::Write, &first)) return Under->Write(buffer, count, why);
    return Under->Write(buffer, std::min(first, count), why) && Failed(why, ENOSPC);
  }

  bool Flush(CString& why) override { return Faults.Trip(Operation::Flush) ? Failed(why, EIO) : Under->Flush(why); }

  bool Close(CString& why) override {
    const bool faulted = Faults.Trip(Operation::Close);
    return Under->Close(why) && (!faulted || Failed(why, EIO));
  }

 private:
  std::unique_ptr<File> Under;
  FaultingFileSystem& Faults;  // we don't own it; it outlives its files
};

class FaultingReplacement : public FileSystem::Replacement {
 public:
  FaultingReplacement(std::unique_ptr<Replacement> under, FaultingFileSystem& faults)
      : Under(std::move(under)), Faults(faults) {}

  bool Write(const void* buffer, std::size_t count, CString& why) override {
    std::size_t first = 0;
    if (!Faults.Trip(Operation::Write, &first)) return Under->Write(buffer, count, why);
    return Under->Write(buffer, std::min(first, count), why) && Failed(why, ENOSPC);
  }

  bool Commit(CString& why) override { return Faults.Trip(Operation::Flush) ? Failed(why, EIO) : Under->Commit(why); }

 private:
  std::unique_ptr<Replacement> Under;
  FaultingFileSystem& Faults;  // we don't own it; it outlives its replacements
};

}  // namespace

std::unique_ptr<FileSystem::Replacement> FaultingFileSystem::Replace(const CString& path, CString& why) {
  std::unique_ptr<Replacement> replacement = Under.Replace(path, why);
  if (!replacement) return nullptr;
  return std::make_unique<FaultingReplacement>(std::move(replacement), *this);
}

FaultingFileSystem::FaultingFileSystem() : Under(CurrentFileSystem()) { InstallFileSystem(this); }

FaultingFileSystem::~FaultingFileSystem() { InstallFileSystem(&Under); }

void FaultingFileSystem::Arm(Operation operation, std::size_t bytesFirst, int skip) {
  Armed = Fault{operation, bytesFirst, skip};
}

bool FaultingFileSystem::Trip(Operation operation, std::size_t* bytesFirst) {
  if (!Armed || Armed->Target != operation) return false;
  if (Armed->Skip > 0) {
    --Armed->Skip;
    return false;
  }
  if (bytesFirst) *bytesFirst = Armed->BytesFirst;
  Armed.reset();
  return true;
}

std::unique_ptr<FileSystem::File> FaultingFileSystem::Open(const CString& path, bool writing, CString& why) {
  if (writing && ReadOnly.count(path.Str()) > 0) {
    Failed(why, EACCES);  // read-only for a test, even when it runs as root
    return nullptr;
  }
  if (Trip(Operation::Open)) {
    Failed(why, EBUSY);
    return nullptr;
  }
  std::unique_ptr<File> file = Under.Open(path, writing, why);
  if (!file) return nullptr;
  return std::make_unique<FaultingFile>(std::move(file), *this);
}
