#include "framework/NewFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

// The folder of a path as the user wrote it; "" for the current one.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FolderNamed(const std::string& folder) {
  return folder.empty() ? "the current folder" : "the folder " + folder;
}

// Flushes a file, or a folder's entries, by path.
bool SyncPath(const char* path, int flags) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC | flags);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  const int error = errno;
  ::close(fd);
  errno = error;
  return synced;
}
}  // namespace

CNewFile::~CNewFile() {
  if (Handle >= 0) ::close(Fd(Handle));
  if (!Made.IsEmpty() && !Placed) ::unlink(Made);
}

bool CNewFile::Fail(const std::string& what) {
  Error = CString(what + ": " + std::strerror(errno));
  return false;
}

bool CNewFile::Create(const CString& path, int permissions) {
  Error.Empty();
  Taken = false;
  // O_EXCL fails on any entry of that name, a link included, which is then not followed.
  const int fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) {
    Taken = errno == EEXIST;
    return Fail(Taken ? path.Str() + " is already there" : FolderNamed(FolderOf(path.Str())) + " cannot be written to");
  }
  Handle = fd;
  Made = path;
  if (permissions >= 0 && ::fchmod(fd, static_cast<mode_t>(permissions)) != 0)
    return Fail("cannot set the new file's permissions");
  return true;
}

bool CNewFile::CreateBeside(const CString& existing) {
  Error.Empty();
  // The link's target is replaced, so that the link goes on leading to the file.
  char* resolved = ::realpath(existing, nullptr);
  if (!resolved) return Fail("cannot find " + existing.Str());
  const std::string target = resolved;
  std::free(resolved);
  struct stat old {};
  if (::stat(target.c_str(), &old) != 0) return Fail("cannot look at " + target);
  if (!S_ISREG(old.st_mode)) {
    errno = EINVAL;
    return Fail(target + " is not a regular file");
  }
  if (old.st_nlink != 1) {
    errno = EMLINK;  // a new file would leave the other names with the old bytes
    return Fail(target + " has " + std::to_string(old.st_nlink) + " links");
  }
  const std::string folder = FolderOf(target);
  const std::string name = target.substr(folder.empty() ? 0 : folder.size() + (folder == "/" ? 0 : 1));
  for (unsigned attempt = 0; Made.IsEmpty(); ++attempt) {
    const std::string path = (folder == "/" ? folder : folder + "/") + "." + name + ".tavero-save-" +
                             std::to_string(::getpid()) + "-" + std::to_string(attempt);
    if (Create(CString(path), 0600)) break;
    if (!Taken || attempt == 100) return false;
  }
  // Owner first: a change of owner clears the set-user and set-group bits the mode then sets.
  struct stat made {};
  const int fd = Fd(Handle);
  if (::fstat(fd, &made) != 0) return Fail("cannot look at the new file");
  if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
    return Fail("cannot give the new file the owner and group of " + target);
  if (::fchmod(fd, old.st_mode & 07777) != 0) return Fail("cannot give the new file the permissions of " + target);
  Target = CString(target);
  return true;
}

bool CNewFile::Write(const void* bytes, std::size_t count) {
  const auto* from = static_cast<const char*>(bytes);
  while (count > 0) {
    const ssize_t put = ::write(Fd(Handle), from, count);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = EIO;
      return Fail("cannot write the new file");
    }
    from += put;
    count -= static_cast<std::size_t>(put);
  }
  return true;
}

bool CNewFile::Close() {
  if (Handle < 0) return true;
  const int fd = Fd(Handle);
  Handle = -1;
  return ::close(fd) == 0 || Fail("cannot close the new file");
}

bool CNewFile::Replace(const CString& destination) {
  if (!Close()) return false;
  if (!SyncPath(Made, O_NOFOLLOW)) return Fail("cannot flush the new file to disk");
  if (::rename(Made, destination) != 0) return Fail("cannot put the new file in place");
  Placed = true;
  // The rename is only on disk once the folder is; a file system that cannot flush a
  // folder (EINVAL) keeps it there by other means.
  const std::string folder = FolderOf(destination.Str());
  if (!SyncPath(folder.empty() ? "." : folder.c_str(), O_DIRECTORY) && errno != EINVAL)
    return Fail("the new file is in place, but " + FolderNamed(folder) + " could not be flushed to disk");
  return true;
}
