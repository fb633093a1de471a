#include "cli/OutputPath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace Cli {

PathKind KindOfPath(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return PathKind::Missing;
  if (S_ISREG(info.st_mode)) return PathKind::RegularFile;
  return S_ISDIR(info.st_mode) ? PathKind::Folder : PathKind::Stream;
}

bool WriteThrough(const std::string& path, std::span<const std::uint8_t> bytes, std::string* why) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    *why = std::strerror(errno);
    return false;
  }
  struct stat info {};
  bool done = ::fstat(fd, &info) == 0;
  if (done && (S_ISREG(info.st_mode) || S_ISDIR(info.st_mode))) {
    errno = S_ISDIR(info.st_mode) ? EISDIR : EEXIST;  // it was replaced since it was looked at
    done = false;
  }
  for (std::size_t at = 0; done && at < bytes.size();) {
    const ssize_t put = ::write(fd, bytes.data() + at, bytes.size() - at);
    if (put < 0 && errno == EINTR) continue;
    if (put == 0) errno = EIO;
    done = put > 0;
    if (done) at += static_cast<std::size_t>(put);
  }
  if (!done) *why = std::strerror(errno);
  if (::close(fd) != 0 && done) {
    *why = std::strerror(errno);
    done = false;
  }
  return done;
}

}  // namespace Cli
