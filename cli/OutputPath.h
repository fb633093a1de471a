#pragma once
// What is at a path tavero-cli is to write, and writing through what is not a file there. A
// new file replaces only a regular file (or nothing): a FIFO or a device at the path (a
// shell's process substitution, /dev/null, a terminal) is written through by the commands
// that stream their output, and refused by those that write an image. One implementation per
// platform (posix/, win32/).

#include <cstdint>
#include <span>
#include <string>

namespace Cli {

enum class PathKind {
  Missing,      // nothing there (or nothing that can be told): a new file goes there
  RegularFile,  // replaced by a new file
  Folder,
  Stream,  // a FIFO, a device, a socket: anything else, written through
};

// What the path names, following links.
PathKind KindOfPath(const std::string& path);

// For a refusal: "a folder" or "not a regular file".
inline const char* KindWords(PathKind kind) { return kind == PathKind::Folder ? "a folder" : "not a regular file"; }

// Writes bytes through the stream at path: opened for writing as it is, never created or
// truncated (a FIFO waits for its reader, as a shell's redirection does). Refuses what is a
// regular file or a folder by the time it is open. Returns false with *why, the system's
// reason.
bool WriteThrough(const std::string& path, std::span<const std::uint8_t> bytes, std::string* why);

}  // namespace Cli
