#include "rom/SaveOrder.h"

#include <optional>

#include "rom/RomLayout.h"

namespace SaveOrder {

std::vector<Formats::ByteRun> RunsToWrite(std::span<const std::uint8_t> onDisk, std::span<const std::uint8_t> image,
                                          int headerSize) {
  constexpr std::uint64_t Page = 4096;
  const std::uint64_t probes[] = {RomLayout::RecordSizeProbeA + static_cast<unsigned>(headerSize),
                                  RomLayout::RecordSizeProbeB + static_cast<unsigned>(headerSize)};
  std::vector<Formats::ByteRun> runs;
  std::optional<Formats::ByteRun> last;  // from the first run with a probe to the end of the last
  for (const Formats::ByteRun& run : Formats::DifferingRuns(onDisk, image, Page)) {
    bool holdsProbe = false;
    for (std::uint64_t probe : probes) holdsProbe = holdsProbe || (run.Start <= probe && probe < run.End());
    if (!holdsProbe)
      runs.push_back(run);
    else if (last)
      last->Length = run.End() - last->Start;
    else
      last = run;
  }
  if (last) runs.push_back(*last);
  return runs;
}

}  // namespace SaveOrder
