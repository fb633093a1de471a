#include "framework/CFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "framework/posix/FileFaults.h"

namespace {
int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

// A fault armed by a test stands for the system's own error.
bool Faulted(FileFaults::Operation operation, int error) {
  if (!FileFaults::Trip(operation)) return false;
  errno = error;
  return true;
}

// How many of count bytes a read or write may move before an armed fault stops it.
std::size_t Allowed(FileFaults::Operation operation, std::size_t count, bool& faulted) {
  std::size_t first = 0;
  faulted = FileFaults::Trip(operation, &first);
  return faulted ? std::min(first, count) : count;
}
}  // namespace

CFile::~CFile() {
  if (IsOpen()) ::close(Fd(Handle));
}

bool CFile::IsOpen() const { return Handle >= 0; }

bool CFile::Fail(const char* what) {
  Error = CString(std::string(what) + ": " + std::strerror(errno));
  return false;
}

bool CFile::Open(const CString& path, unsigned flags) {
  Error.Empty();
  if (IsOpen()) Close();
  const bool writing = flags == modeReadWrite;
  const char* failure = writing ? "cannot open the file for reading and writing" : "cannot open the file for reading";
  int fd = -1;
  if (writing && FileFaults::WritingDenied(path))
    errno = EACCES;  // read-only for a test, even when it runs as root
  else if (!Faulted(FileFaults::Operation::Open, EBUSY))
    fd = ::open(path, (writing ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  if (fd < 0) return Fail(failure);
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    Fail(failure);
    ::close(fd);
    return false;
  }
  Handle = fd;
  return true;
}

bool CFile::GetLength(std::uint64_t& length) {
  struct stat info {};
  if (Faulted(FileFaults::Operation::Length, EIO) || ::fstat(Fd(Handle), &info) != 0)
    return Fail("cannot tell the file's length");
  length = static_cast<std::uint64_t>(info.st_size);
  return true;
}

std::size_t CFile::Read(void* buffer, std::size_t count) {
  bool faulted = false;
  const std::size_t allowed = Allowed(FileFaults::Operation::Read, count, faulted);
  auto* bytes = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < allowed) {
    ssize_t got = ::read(Fd(Handle), bytes + done, allowed - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      Fail("cannot read the file");
      return done;
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  if (faulted) {
    errno = EIO;
    Fail("cannot read the file");
  }
  return done;
}

bool CFile::Seek(std::int64_t offset, SeekPosition from) {
  (void)from;  // only ever from the beginning
  if (Faulted(FileFaults::Operation::Seek, EIO) || ::lseek(Fd(Handle), static_cast<off_t>(offset), SEEK_SET) < 0)
    return Fail("cannot seek in the file");
  return true;
}

bool CFile::Write(const void* buffer, std::size_t count) {
  bool faulted = false;
  const std::size_t allowed = Allowed(FileFaults::Operation::Write, count, faulted);
  const auto* bytes = static_cast<const char*>(buffer);
  std::size_t done = 0;
  while (done < allowed) {
    ssize_t put = ::write(Fd(Handle), bytes + done, allowed - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = EIO;
      return Fail("cannot write the file");
    }
    done += static_cast<std::size_t>(put);
  }
  if (faulted) {
    errno = ENOSPC;
    return Fail("cannot write the file");
  }
  return true;
}

bool CFile::Flush() {
  if (Faulted(FileFaults::Operation::Flush, EIO) || ::fsync(Fd(Handle)) != 0)
    return Fail("cannot flush the file to disk");
  return true;
}

bool CFile::Close() {
  if (!IsOpen()) return true;
  int fd = Fd(Handle);
  Handle = -1;
  bool faulted = Faulted(FileFaults::Operation::Close, EIO);
  if (::close(fd) != 0 || faulted) return Fail("cannot close the file");
  return true;
}

bool CFile::Replace(const CString& from, const CString& to, CString* why) {
  if (::rename(from, to) == 0) return true;
  *why = CString(std::string("cannot put the new file in place: ") + std::strerror(errno));
  return false;
}
