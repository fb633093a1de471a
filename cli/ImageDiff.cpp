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

void CompareField(EsperChange& change, FieldChange::Field what, int pair, int before, int after, const CRomImage& older,
                  const CRomImage& newer) {
  if (before == after) return;
  auto name = [what](const CRomImage& rom, int value) {
    if (value == AbsentValue) return std::optional<std::string>();
    if (what == FieldChange::Field::Spell) return SpellName(rom, value);
    if (what == FieldChange::Field::Bonus && value != NoValue) return BonusName(rom, value);
    return std::optional<std::string>();
  };
  change.Fields.push_back({what, pair, before, after, name(older, before), name(newer, after)});
}

std::vector<EsperChange> CompareRecords(Loaded& older, Loaded& newer) {
  const std::vector<EsperView> a = ViewEspers(older.Session), b = ViewEspers(newer.Session);
  std::vector<EsperChange> espers;
  for (std::size_t e = 0; e < a.size() && e < b.size(); ++e) {
    EsperChange change{static_cast<int>(e), a[e].Name, b[e].Name, {}};
    for (std::size_t k = 0; k < std::max(a[e].Pairs.size(), b[e].Pairs.size()); ++k) {
      const bool inA = k < a[e].Pairs.size(), inB = k < b[e].Pairs.size();
      const PairView absent{AbsentValue, AbsentValue};
      const PairView& before = inA ? a[e].Pairs[k] : absent;
      const PairView& after = inB ? b[e].Pairs[k] : absent;
      // A pair only one layout has counts when it teaches a spell (a shift leaves it empty).
      if ((!inA || !inB) && (inA ? before : after).Spell == NoValue) continue;
      const int pair = static_cast<int>(k) + 1;
      CompareField(change, FieldChange::Field::Rate, pair, before.Rate, after.Rate, older.Session.Rom,
                   newer.Session.Rom);
      CompareField(change, FieldChange::Field::Spell, pair, before.Spell, after.Spell, older.Session.Rom,
                   newer.Session.Rom);
    }
    CompareField(change, FieldChange::Field::Bonus, 0, a[e].Bonus, b[e].Bonus, older.Session.Rom, newer.Session.Rom);
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
  for (const ByteRun& run : DifferingRuns(x.first(common), y.first(common)))
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
