#pragma once
// Files tavero-cli reads and writes whole, and the one way it writes a new file: beside its
// destination, renamed over it only once complete.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "framework/NewFile.h"

namespace Cli {

// A UTF-8 path as the file system takes it, on every platform.
std::filesystem::path FsPath(const std::string& utf8);

// A file written beside its destination and renamed over it only once it is complete (a
// CNewFile: made under a free name, flushed before the rename), so the destination holds
// either what it held before or the whole new file. The destructor removes a file that was
// never committed. After a failed step, Failure() is the message to show.
class PendingFile {
 public:
  // Creates nothing yet.
  explicit PendingFile(const std::string& destination);
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile();

  // Creates the file, open for writing, under a name of its own beside the destination;
  // permissions as for CNewFile::Create.
  bool Create(int permissions = -1);
  bool Write(std::span<const std::uint8_t> bytes);
  bool Close();
  const std::string& Path() const { return Temporary; }
  // Flushes the finished file and renames it over the destination.
  bool Commit();

  // "HEADING:\nREASON.", saying that the destination was left as it was only when there was
  // one before; the heading is "Could not write DESTINATION" unless given.
  std::string Failure() const;
  std::string Failure(const std::string& heading) const;
  // Why the last step failed.
  const CString& Reason() const { return File.ErrorText(); }

 private:
  std::string Destination;
  std::string Temporary;
  bool DestinationExisted = false;
  int Noted = -1;  // its slot among the temporaries removed when the program is stopped
  CNewFile File;
};

// The permission bits of the image at path with the owner's write bit, as a copy of it
// written for --output gets them; -1 when they cannot be told.
int CopyPermissions(const std::string& path);

// An --output that is there and not a regular file (a folder, a FIFO, a device) is never
// replaced by an image, nor written through. Returns false with *error for one.
bool CheckImageOutput(const std::string& output, std::string* error);

// "--output NEW": copies the image at input into pending, created with the image's
// permissions and writable, and closes it for the image to be worked on there. Refuses an
// output that is the input file itself, or that CheckImageOutput refuses. Returns false with
// *error.
bool CopyForOutput(const std::string& input, const std::string& output, PendingFile& pending, std::string* error);

// True when both paths name one existing file.
bool SameFile(const std::string& a, const std::string& b);

// Reads a whole regular file through the file layer (CFile), refusing anything else without
// waiting on it. Returns false with *error: "Could not ACTION PATH:\nREASON.".
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error, const char* action = "read");
// Writes a whole file through a PendingFile, replacing it, or through the FIFO or device
// that is there (WriteThrough). Returns false with *error naming it; a file is then as it was.
bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes, std::string* error,
                    int permissions = -1);
bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string* error);

}  // namespace Cli
