#include "cli/ImageDiff.h"

#include <algorithm>
#include <span>

#include "cli/EsperView.h"
#include "cli/ImageFile.h"
#include "rom/RomLayout.h"

namespace Cli {

namespace {

struct Loaded {
  ImageSession Session;  // records and names, as the editor reads them
  CRomImage Disk;        // the bytes, as they are on disk
};

bool Load(const std::string& path, Loaded& image, DiffSide& side, std::string* error) {
  if (!image.Session.Load(path, error, Access::Describe) || !LoadFileBytes(path, image.Disk, error)) return false;
  side.Path = path;
  side.Length = image.Disk.BufferSize;
  side.HeaderSize = image.Disk.HeaderSize;
  side.Layout = image.Session.Layout;
  side.RecordSize = side.Layout == EsperLayout::Unknown ? 0 : image.Session.ProbedRecordSize;
  side.CodePatch = image.Session.PatchOnDisk;
  return true;
}

// The bytes of the esper data block that the field comparison accounts for, in either image.
class FieldBytes {
 public:
  void Mark(const DiffSide& side) {
    const int slots = FieldsOf(side.Layout).Slots();
    for (int e = 0; e < RomLayout::EsperCount; ++e)
      for (int slot = 0; slot < slots; ++slot) Covered[static_cast<std::size_t>(e * side.RecordSize + slot)] = true;
  }
  bool Contains(std::uint64_t romOffset) const {
    return romOffset >= RomLayout::EsperDataBlock && romOffset - RomLayout::EsperDataBlock < Covered.size() &&
           Covered[static_cast<std::size_t>(romOffset - RomLayout::EsperDataBlock)];
  }

 private:
  // A probe is one byte, so no record is longer than 255 bytes.
  std::vector<bool> Covered = std::vector<bool>(RomLayout::EsperCount * 0x100);
};

void CompareField(EsperChange& change, const EsperField& field, int pair, int before, int after, const CRomImage& older,
                  const CRomImage& newer) {
  if (before == after) return;
  auto name = [&field](const CRomImage& rom, int value) {
    return value == AbsentValue ? std::nullopt : ValueName(rom, field, value);
  };
  change.Fields.push_back({&field, pair, before, after, name(older, before), name(newer, after)});
}

std::vector<EsperChange> CompareRecords(Loaded& older, Loaded& newer) {
  const std::vector<EsperView> a = ViewEspers(older.Session), b = ViewEspers(newer.Session);
  const CRomImage &romA = older.Session.Rom, &romB = newer.Session.Rom;
  std::vector<EsperChange> espers;
  for (std::size_t e = 0; e < a.size() && e < b.size(); ++e) {
    EsperChange change{static_cast<int>(e), a[e].Name, b[e].Name, {}};
    auto value = [](const EsperView& esper, const EsperField& field, int pair) {
      return pair <= esper.Pairs ? esper.Value(field, pair) : AbsentValue;
    };
    for (int pair = 1; pair <= std::max(a[e].Pairs, b[e].Pairs); ++pair) {
      // A pair only one layout has counts when it holds something (a shift leaves it empty).
      if (pair > std::min(a[e].Pairs, b[e].Pairs)) {
        const EsperView& has = pair <= a[e].Pairs ? a[e] : b[e];
        bool empty = true;
        for (const EsperField* field : EsperFields)
          if (field->InPair && field->NoneAllowed) empty = empty && field->IsNone(has.Value(*field, pair));
        if (empty) continue;
      }
      for (const EsperField* field : EsperFields)
        if (field->InPair)
          CompareField(change, *field, pair, value(a[e], *field, pair), value(b[e], *field, pair), romA, romB);
    }
    for (const EsperField* field : EsperFields)
      if (!field->InPair) CompareField(change, *field, 0, a[e].Value(*field, 0), b[e].Value(*field, 0), romA, romB);
    if (!change.Fields.empty()) espers.push_back(std::move(change));
  }
  return espers;
}

}  // namespace

bool CompareImages(const std::string& older, const std::string& newer, ImageDiff& diff, std::string* error) {
  Loaded a, b;
  if (!Load(older, a, diff.Old, error) || !Load(newer, b, diff.New, error)) return false;

  FieldBytes fields;
  diff.RecordsCompared = diff.Old.Layout != EsperLayout::Unknown && diff.New.Layout != EsperLayout::Unknown;
  if (diff.RecordsCompared) {
    diff.Espers = CompareRecords(a, b);
    fields.Mark(diff.Old);
    fields.Mark(diff.New);
  }

  const std::span<const std::uint8_t> x = RomBytes(a.Disk), y = RomBytes(b.Disk);
  const std::size_t common = std::min(x.size(), y.size());
  for (const Formats::ByteRun& run : Formats::DifferingRuns(x.first(common), y.first(common)))
    for (std::uint64_t at = run.Start; at < run.End(); ++at) {
      if (fields.Contains(at)) continue;
      if (!diff.Runs.empty() && diff.Runs.back().End() == at)
        ++diff.Runs.back().Length;
      else
        diff.Runs.push_back({at, 1});
      ++diff.RunBytes;
    }

  const std::span<const std::uint8_t> headerA = FileBytes(a.Disk).first(static_cast<std::size_t>(a.Disk.HeaderSize));
  const std::span<const std::uint8_t> headerB = FileBytes(b.Disk).first(static_cast<std::size_t>(b.Disk.HeaderSize));
  diff.HeaderBytesDiffer = !headerA.empty() && headerA.size() == headerB.size() &&
                           !std::equal(headerA.begin(), headerA.end(), headerB.begin());
  return true;
}

}  // namespace Cli
