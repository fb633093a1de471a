#pragma once
// Two images compared as people think of an edit: esper by esper and field by field, then
// every other byte that differs, by ROM offset. Both are read as they are on disk, so a
// copier header does not count and the code patch a load would apply is not there.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/ImageSession.h"
#include "formats/ByteRuns.h"
#include "rom/EsperFields.h"

namespace Cli {

using Formats::ByteRun;
using Formats::DifferingRuns;

struct DiffSide {
  std::string Path;
  std::uint64_t Length = 0;  // the whole file
  int HeaderSize = 0;
  EsperLayout Layout = EsperLayout::Unknown;
  int RecordSize = 0;  // as probed, before a load patches the code; 0 when unknown
  PatchPresence CodePatch;
  std::uint64_t RomLength() const { return Length - static_cast<std::uint64_t>(HeaderSize); }
};

// A pair that the record's layout does not have (the sixth, in a five-slot image).
inline constexpr int AbsentValue = -1;

struct FieldChange {
  const EsperField* Field = nullptr;
  int Pair = 0;  // 1..6; 0 for a field of the record
  int Old = 0;   // 0..255 (NoValue for none), or AbsentValue
  int New = 0;
  std::optional<std::string> OldName;  // the spell's or bonus's name in its own image, GameText
  std::optional<std::string> NewName;
};

struct EsperChange {
  int Number = 0;
  std::string OldName;  // GameText
  std::string NewName;
  std::vector<FieldChange> Fields;
};

struct ImageDiff {
  DiffSide Old, New;
  bool RecordsCompared = false;  // false when the editor knows neither's esper code
  std::vector<EsperChange> Espers;
  std::vector<Formats::ByteRun> Runs;  // every other differing byte within the shorter image, by ROM offset
  std::uint64_t RunBytes = 0;
  bool HeaderBytesDiffer = false;  // both have a copier header, with other bytes in it
  bool Same() const { return Espers.empty() && Runs.empty() && Old.RomLength() == New.RomLength(); }
};

// Loads both as info does (any esper code) and compares them. Returns false with *error.
bool CompareImages(const std::string& older, const std::string& newer, ImageDiff& diff, std::string* error);

}  // namespace Cli
