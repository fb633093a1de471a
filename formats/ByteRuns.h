#pragma once
// Where two byte strings of one length differ, as runs of offsets.

#include <cstdint>
#include <span>
#include <vector>

namespace Formats {

struct ByteRun {
  std::uint64_t Start = 0;
  std::uint64_t Length = 0;
  std::uint64_t End() const { return Start + Length; }
  friend bool operator==(const ByteRun&, const ByteRun&) = default;
};

// The runs of offsets where a and b differ, in order. Runs separated by fewer than joinGap
// equal bytes come back as one run (a patch record costs more than a few literal bytes), so
// with joinGap 0 or 1 every run is exact. Requires a.size() == b.size().
std::vector<ByteRun> DifferingRuns(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                                   std::uint64_t joinGap = 0);

}  // namespace Formats
