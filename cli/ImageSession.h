#pragma once
// One image opened the way the editor opens it (the load sequence, CRomImage::LoadImage) and
// saved the way it saves (SaveFile), with what can be told about its esper data layout from
// the bytes as they were on disk.

#include <cstdint>
#include <string>

#include "rom/CRomImage.h"
#include "rom/EsperLayout.h"

namespace Cli {

// What a command does with the image: only describes it (any esper code will do), reads its
// records, or writes them (opened for reading and writing, as the editor opens it); or
// writes bytes other than the records, in an image of any length and esper code (the
// internal checksum), which a save then writes without putting the records in.
enum class Access { Describe, Read, Write, WriteBytes };

class ImageSession {
 public:
  // Opens the image at path as the editor's Load does. Returns false with *error worded
  // as the editor's message box ("Could not load PATH:\nREASON."). An image that is not
  // written is opened for reading, so a read-only file will do; one only described is kept
  // even when the editor would refuse its esper code (Layout Unknown, records not read).
  bool Load(const std::string& path, std::string* error, Access access);
  // SaveFile (WriteImage for WriteBytes), with the editor's wording on failure ("Could not save PATH:\nREASON."). A
  // save that went through with a warning (CRomImage::Warning) says so in *warning.
  bool Save(std::string* error, std::string* warning);

  CRomImage Rom;
  // The path messages name, when not the file worked on (a copy made for --output); printed
  // with its control characters escaped, as every path is.
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
  bool BytesOnly = false;
};

}  // namespace Cli
