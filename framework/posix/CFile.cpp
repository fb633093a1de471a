// The platform's files on Linux, and CFile::Replace.
#include "framework/CFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

CString Reason() { return CString(std::strerror(errno)); }

class PosixFile : public FileSystem::File {
 public:
  explicit PosixFile(int fd) : Fd(fd) {}
  ~PosixFile() override {
    if (Fd >= 0) ::close(Fd);
  }

  bool GetLength(std::uint64_t& length, CString& why) override {
    struct stat info {};
    if (::fstat(Fd, &info) != 0) return Failed(why);
    length = static_cast<std::uint64_t>(info.st_size);
    return true;
  }

  std::size_t Read(void* buffer, std::size_t count, CString& why) override {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
      ssize_t got = ::read(Fd, bytes + done, count - done);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        why = Reason();
        break;
      }
      if (got == 0) break;
      done += static_cast<std::size_t>(got);
    }
    return done;
  }

  bool Seek(std::int64_t offset, CString& why) override {
    return ::lseek(Fd, static_cast<off_t>(offset), SEEK_SET) >= 0 || Failed(why);
  }

  bool Write(const void* buffer, std::size_t count, CString& why) override {
    const auto* bytes = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
      ssize_t put = ::write(Fd, bytes + done, count - done);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) {
        if (put == 0) errno = EIO;
        return Failed(why);
      }
      done += static_cast<std::size_t>(put);
    }
    return true;
  }

  bool Flush(CString& why) override { return ::fsync(Fd) == 0 || Failed(why); }

  bool Close(CString& why) override {
    const int fd = Fd;
    Fd = -1;
    return ::close(fd) == 0 || Failed(why);
  }

 private:
  static bool Failed(CString& why) {
    why = Reason();
    return false;
  }

  int Fd;
};

class PosixFileSystem : public FileSystem {
 public:
  std::unique_ptr<Replacement> Replace(const CString& path, CString& why) override {
    return ReplaceByNewFile(path, why);
  }

  std::unique_ptr<File> Open(const CString& path, bool writing, CString& why) override {
    // O_NONBLOCK: opening a FIFO would wait for a writer, and some devices wait too. Nothing
    // but a regular file is read or written, so the flag is only cleared on one.
    const int fd = ::open(path, (writing ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
      why = Reason();
      return nullptr;
    }
    struct stat info {};
    CString refused;
    if (::fstat(fd, &info) != 0)
      refused = Reason();
    else if (S_ISDIR(info.st_mode))
      refused = CString(std::strerror(EISDIR));
    else if (!S_ISREG(info.st_mode))
      refused = CString("not a regular file");
    else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
      refused = Reason();
    if (!refused.IsEmpty()) {
      why = refused;
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<PosixFile>(fd);
  }
};

}  // namespace

FileSystem& PlatformFileSystem() {
  static PosixFileSystem files;
  return files;
}

bool CFile::Replace(const CString& from, const CString& to, CString* why) {
  if (::rename(from, to) == 0) return true;
  *why = CString(std::string("cannot put the new file in place: ") + std::strerror(errno));
  return false;
}
