#pragma once
// One image opened the way the editor opens it (LoadFile, header size from the length,
// CheckImageExtent, ReadEsperData) and saved the way it saves (SaveFile), with what can be
// told about its esper data layout from the bytes as they were on disk.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "rom/CRomImage.h"

namespace Cli {

// A UTF-8 path as the file system takes it, on every platform.
std::filesystem::path FsPath(const std::string& utf8);

enum class EsperLayout {
  FiveSlot,  // record size 11: the editor patches the code on load and reads 13-byte rows
  SixSlot,   // record size 13
  Other,     // any other record size: rows of that size, as the editor reads them
};

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
  // as the editor's message box ("Could not load PATH:\nREASON."). An image loaded only to
  // be looked at (not forWriting) is opened for reading, so a read-only file will do.
  bool Load(const std::string& path, std::string* error, bool forWriting = false);
  // SaveFile, with the editor's wording on failure ("Could not save PATH:\nREASON.").
  bool Save(std::string* error);

  CRomImage Rom;
  // Read before ReadEsperData, which may patch the code in memory.
  std::uint8_t ProbeA = 0;
  std::uint8_t ProbeB = 0;
  PatchPresence PatchOnDisk;
  // The record size the probes gave the editor, before any patch made it 13.
  int ProbedRecordSize = 0;
  EsperLayout Layout = EsperLayout::Other;
};

// "--output NEW": copies the image at input to output and says where to work. When output
// is already there it is replaced, unless it is the input file itself. Returns false with
// *error. *created tells whether output did not exist before, so a failure can remove it.
bool CopyForOutput(const std::string& input, const std::string& output, bool* created, std::string* error);

// True when both paths name one existing file.
bool SameFile(const std::string& a, const std::string& b);

// Reads a whole file. Returns false with *error naming it.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error);
// Writes a whole file, replacing it. Returns false with *error naming it.
bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string* error);

}  // namespace Cli
