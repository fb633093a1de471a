#include "framework/CFile.h"

#include "framework/NewFile.h"

namespace {
FileSystem* Installed = nullptr;
}  // namespace

FileSystem& CurrentFileSystem() { return Installed ? *Installed : PlatformFileSystem(); }

void InstallFileSystem(FileSystem* fileSystem) { Installed = fileSystem; }

std::unique_ptr<FileSystem::Replacement> FileSystem::Replace(const CString&, CString& why) {
  why = CString("files held in memory are written in place");
  return nullptr;
}

namespace {
class NewFileReplacement : public FileSystem::Replacement {
 public:
  bool Start(const CString& path, CString& why) {
    if (File.CreateBeside(path)) return true;
    why = File.ErrorText();
    return false;
  }
  bool Write(const void* buffer, std::size_t count, CString& why) override {
    return File.Write(buffer, count) || Failed(why);
  }
  bool Commit(CString& why) override {
    if (File.Replace(File.Replaced())) return true;
    Failed(why);
    return File.InPlace();
  }

 private:
  bool Failed(CString& why) const {
    why = File.ErrorText();
    return false;
  }
  CNewFile File;
};
}  // namespace

std::unique_ptr<FileSystem::Replacement> ReplaceByNewFile(const CString& path, CString& why) {
  auto replacement = std::make_unique<NewFileReplacement>();
  if (!replacement->Start(path, why)) return nullptr;
  return replacement;
}

CFile::CFile() = default;
CFile::~CFile() = default;

bool CFile::IsOpen() const { return Handle != nullptr; }

bool CFile::Fail(const char* what, const CString& why) {
  Error = CString(what) + CString(": ") + why;
  return false;
}

bool CFile::Open(const CString& path, unsigned flags) {
  Error.Empty();
  if (IsOpen()) Close();
  const bool writing = flags == modeReadWrite;
  CString why;
  Handle = CurrentFileSystem().Open(path, writing, why);
  if (!Handle)
    return Fail(writing ? "cannot open the file for reading and writing" : "cannot open the file for reading", why);
  return true;
}

// An operation on a file that is not open fails, as on a closed handle, without reaching the file system.
bool CFile::NotOpen(const char* what) {
  if (IsOpen()) return false;
  Fail(what, "the file is not open");
  return true;
}

bool CFile::GetLength(std::uint64_t& length) {
  if (NotOpen("cannot tell the file's length")) return false;
  CString why;
  return Handle->GetLength(length, why) || Fail("cannot tell the file's length", why);
}

std::size_t CFile::Read(void* buffer, std::size_t count) {
  if (NotOpen("cannot read the file")) return 0;
  CString why;
  const std::size_t done = Handle->Read(buffer, count, why);
  if (!why.IsEmpty()) Fail("cannot read the file", why);
  return done;
}

bool CFile::Seek(std::int64_t offset, SeekPosition from) {
  (void)from;  // only ever from the beginning
  if (NotOpen("cannot seek in the file")) return false;
  CString why;
  return Handle->Seek(offset, why) || Fail("cannot seek in the file", why);
}

bool CFile::Write(const void* buffer, std::size_t count) {
  if (NotOpen("cannot write the file")) return false;
  CString why;
  return Handle->Write(buffer, count, why) || Fail("cannot write the file", why);
}

bool CFile::Flush() {
  if (NotOpen("cannot flush the file to disk")) return false;
  CString why;
  return Handle->Flush(why) || Fail("cannot flush the file to disk", why);
}

bool CFile::Close() {
  if (!IsOpen()) return true;
  const std::unique_ptr<FileSystem::File> file = std::move(Handle);
  CString why;
  return file->Close(why) || Fail("cannot close the file", why);
}
