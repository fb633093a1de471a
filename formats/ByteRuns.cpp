#include "formats/ByteRuns.h"

#include <algorithm>
#include <cstring>

namespace Formats {

std::vector<ByteRun> DifferingRuns(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                                   std::uint64_t joinGap) {
  // Images differ in a few places: skip equal blocks with memcmp, look at bytes only inside
  // a block that differs.
  constexpr std::size_t Block = 4096;
  std::vector<ByteRun> runs;
  const std::size_t size = a.size();
  for (std::size_t block = 0; block < size; block += Block) {
    const std::size_t end = std::min(size, block + Block);
    if (std::memcmp(a.data() + block, b.data() + block, end - block) == 0) continue;
    for (std::size_t i = block; i < end; ++i) {
      if (a[i] == b[i]) continue;
      if (!runs.empty() && i - runs.back().End() < std::max<std::uint64_t>(joinGap, 1))
        runs.back().Length = i + 1 - runs.back().Start;
      else
        runs.push_back({i, 1});
    }
  }
  return runs;
}

}  // namespace Formats
