// tavero-cli's diff on an image and an edit of it (records, names, probes, code, any other
// byte, a copier header put on or taken off, a bank added or cut): it never crashes, and it
// names every difference. Each differing byte is either a field of an esper it lists or in
// one of its byte runs; with one record layout on both sides it lists exactly the espers whose
// record bytes differ; and every change it names is one.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Uninstrumented.h"
#include "cli/Commands.h"
#include "cli/ImageDiff.h"
#include "framework/MemoryFileSystem.h"
#include "rom/RomLayout.h"
#include "tools/SampleImage.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string OldPath = "/fuzz/old.smc";
const std::string NewPath = "/fuzz/new.smc";
constexpr std::size_t CopierHeader = 0x200;
constexpr std::size_t Bank = 0x10000;

// Generated images without a header: five- or six-slot, two variants.
const Bytes& Base(int which) {
  static const std::vector<Bytes> bases = [] {
    std::vector<Bytes> made;
    for (int i = 0; i < 4; ++i) {
      SampleImage::Options options;
      options.Records = i % 2 ? SampleImage::Layout::SixSlot : SampleImage::Layout::FiveSlot;
      options.Variant = i / 2;
      made.push_back(SampleImage::Make(options));
    }
    return made;
  }();
  return bases[static_cast<std::size_t>(which)];
}

// Where an edit lands besides the editor's blocks: the six-slot records alone, and anywhere.
constexpr RomLayout::Block OtherRegions[] = {
    {"six-slot records", RomLayout::EsperDataBlock, RomLayout::EsperCount* RomLayout::SixSlotRecordSize},
    {"anywhere", 0, 0x300000},
};

// The record size the probes give, or 0 when the editor does not know the esper code.
int RecordSize(const Bytes& rom) {
  const int a = rom[RomLayout::RecordSizeProbeA], b = rom[RomLayout::RecordSizeProbeB];
  return a == b && (a == 11 || a >= 13) ? a : 0;
}

// Edits in the regions, or a field of one esper's record.
void Edit(FuzzedDataProvider& input, Bytes& rom) {
  while (input.remaining_bytes() > 0 && input.ConsumeBool()) {
    std::size_t at = 0;
    if (input.ConsumeBool()) {
      const RomLayout::Block& region =
          input.ConsumeBool() ? input.PickValueInArray(RomLayout::EditorBlocks) : input.PickValueInArray(OtherRegions);
      at = region.Offset + input.ConsumeIntegralInRange<std::size_t>(0, region.Length - 1);
    } else {
      const std::size_t size = static_cast<std::size_t>(RecordSize(rom) ? RecordSize(rom) : 13);
      at = RomLayout::EsperDataBlock + size * input.ConsumeIntegralInRange<std::size_t>(0, RomLayout::EsperCount - 1) +
           input.ConsumeIntegralInRange<std::size_t>(0, 12);
    }
    for (std::uint8_t byte : input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(1, 16)))
      if (at < rom.size()) rom[at++] = byte;
  }
}

// The file: an optional copier header (its own bytes), then the ROM.
void Store(const std::string& path, bool header, std::uint8_t headerFill, const Bytes& rom) {
  Bytes& file = ProcessMemoryFiles().Contents(path);
  file.assign(header ? CopierHeader : 0, headerFill);
  file.insert(file.end(), rom.begin(), rom.end());
}

// Which esper's fields a ROM offset holds under a record size, or -1.
TAVERO_UNTRACED int EsperAt(std::size_t at, int recordSize) {
  if (recordSize == 0 || at < RomLayout::EsperDataBlock) return -1;
  const std::size_t inBlock = at - RomLayout::EsperDataBlock, size = static_cast<std::size_t>(recordSize);
  const std::size_t esper = inBlock / size, fields = recordSize == 11 ? 11 : 13;
  return esper < RomLayout::EsperCount && inBlock % size < fields ? static_cast<int>(esper) : -1;
}

// Each byte that differs is in a run or a field of either layout, no run holds a field or an
// equal byte, and with one layout on both sides the listed espers are those whose fields differ.
TAVERO_UNTRACED void CheckEveryDifferenceNamed(const Bytes& older, const Bytes& newer, const std::vector<bool>& inRuns,
                                               int oldSize, int newSize, const std::set<int>& listed) {
  const bool records = oldSize != 0 && newSize != 0;
  std::set<int> differing;
  for (std::size_t at = 0; at < inRuns.size(); ++at) {
    const int oldEsper = records ? EsperAt(at, oldSize) : -1, newEsper = records ? EsperAt(at, newSize) : -1;
    const bool field = oldEsper >= 0 || newEsper >= 0;
    if (inRuns[at] && (field || older[at] == newer[at])) std::abort();
    if (older[at] == newer[at]) continue;
    if (!field && !inRuns[at]) std::abort();  // a differing byte named nowhere
    if (field && oldSize == newSize) differing.insert(oldEsper);
  }
  if (records && oldSize == newSize && differing != listed) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  static Bytes older, newer;  // kept: memory new to the process is slow under the sanitizers
  older = Base(input.ConsumeIntegralInRange(0, 3));
  const bool oldHeader = input.ConsumeBool(), newHeader = input.ConsumeBool();
  const auto oldFill = input.ConsumeIntegral<std::uint8_t>(), newFill = input.ConsumeIntegral<std::uint8_t>();
  Edit(input, older);
  newer = older;
  switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0: newer.resize(newer.size() + Bank, input.ConsumeIntegral<std::uint8_t>()); break;
    case 1: newer.resize(newer.size() - Bank); break;
    default: break;
  }
  Edit(input, newer);
  Store(OldPath, oldHeader, oldFill, older);
  Store(NewPath, newHeader, newFill, newer);

  Cli::ImageDiff diff;
  std::string error;
  if (!Cli::CompareImages(OldPath, NewPath, diff, &error)) std::abort();  // both are long enough to load
  if (input.ConsumeBool()) {  // the printed diff too, for half the inputs: it loads both images again
    std::ostringstream out, err;
    std::istringstream in;
    Cli::Streams io{in, out, err};
    const Cli::DiffOptions options{OldPath, NewPath, input.ConsumeBool() ? "json" : "text"};
    if (Cli::RunDiff(io, options) != 0) std::abort();
  }

  // What the diff names.
  std::set<int> listed;
  for (const Cli::EsperChange& esper : diff.Espers) {
    if (esper.Fields.empty() || !listed.insert(esper.Number).second) std::abort();
    for (const Cli::FieldChange& field : esper.Fields)
      if (field.Old == field.New) std::abort();
  }
  static std::vector<bool> inRuns;  // kept: memory new to the process is slow under the sanitizers
  inRuns.assign(std::min(older.size(), newer.size()), false);
  std::uint64_t runBytes = 0;
  for (const Formats::ByteRun& run : diff.Runs) {
    if (run.Length == 0 || run.End() > inRuns.size()) std::abort();
    std::fill(inRuns.begin() + static_cast<std::ptrdiff_t>(run.Start),
              inRuns.begin() + static_cast<std::ptrdiff_t>(run.End()), true);
    runBytes += run.Length;
  }
  if (runBytes != diff.RunBytes) std::abort();
  const int oldSize = RecordSize(older), newSize = RecordSize(newer);
  if (diff.RecordsCompared != (oldSize != 0 && newSize != 0)) std::abort();
  CheckEveryDifferenceNamed(older, newer, inRuns, oldSize, newSize, listed);
  return 0;
}
