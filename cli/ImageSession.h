#pragma once
// One image opened the way the editor opens it (LoadFile, header size from the length,
// CheckImageExtent, ReadEsperData) and saved the way it saves (SaveFile), with what can be
// told about its esper data layout from the bytes as they were on disk.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "framework/NewFile.h"
#include "rom/CRomImage.h"

namespace Cli {

// A UTF-8 path as the file system takes it, on every platform.
std::filesystem::path FsPath(const std::string& utf8);

enum class EsperLayout {
  FiveSlot,  // record size 11: the editor patches the code on load and reads 13-byte rows
  SixSlot,   // record size 13
  Other,     // 14 and up: rows of that size, as the editor reads them
  Unknown,   // probes that disagree, or agree on 0..10 or 12: the editor refuses the image
};

// What a command does with the image: only describes it (any esper code will do), reads its
// records, or writes them (opened for reading and writing, as the editor opens it).
enum class Access { Describe, Read, Write };

// How much of the six-slot code patch the file holds, run by run and byte by byte.
struct PatchPresence {
  int RunsPresent = 0;
  int RunCount = 0;
  int BytesPresent = 0;
  int ByteCount = 0;
  bool Full() const { return RunsPresent == RunCount; }
  bool None() const { return BytesPresent == 0; }
};

class ImageSession {
 public:
  // Opens the image at path as the editor's Load does. Returns false with *error worded
  // as the editor's message box ("Could not load PATH:\nREASON."). An image that is not
  // written is opened for reading, so a read-only file will do; one only described is kept
  // even when the editor would refuse its esper code (Layout Unknown, records not read).
  bool Load(const std::string& path, std::string* error, Access access);
  // SaveFile, with the editor's wording on failure ("Could not save PATH:\nREASON.").
  bool Save(std::string* error);

  CRomImage Rom;
  // The path failure messages name, when not the file worked on (a copy made for --output).
  std::string ShownPath;
  // Read before ReadEsperData, which may patch the code in memory.
  std::uint8_t ProbeA = 0;
  std::uint8_t ProbeB = 0;
  PatchPresence PatchOnDisk;
  // The record size the probes gave the editor, before any patch made it 13.
  int ProbedRecordSize = 0;
  EsperLayout Layout = EsperLayout::Other;

 private:
  std::string Failure(const char* action) const;
};

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
  std::string Failure() const { return Failure("Could not write " + Destination); }
  std::string Failure(const std::string& heading) const;
  // Why the last step failed.
  const CString& Reason() const { return File.ErrorText(); }

 private:
  std::string Destination;
  std::string Temporary;
  bool DestinationExisted = false;
  CNewFile File;
};

// The permission bits of the image at path with the owner's write bit, as a copy of it
// written for --output gets them; -1 when they cannot be told.
int CopyPermissions(const std::string& path);

// "--output NEW": copies the image at input into pending, created with the image's
// permissions and writable, and closes it for the image to be worked on there. Refuses an
// output that is the input file itself. Returns false with *error.
bool CopyForOutput(const std::string& input, const std::string& output, PendingFile& pending, std::string* error);

// True when both paths name one existing file.
bool SameFile(const std::string& a, const std::string& b);

// Reads a whole file. Returns false with *error naming it.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error);
// Writes a whole file through a PendingFile, replacing it. Returns false with *error naming
// it; the file is then as it was.
bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes, std::string* error,
                    int permissions = -1);
bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string* error);

}  // namespace Cli
