#include "formats/Bps.h"

#include "formats/ByteRuns.h"
#include "formats/Crc32.h"

namespace Formats {

using Formats::ByteRun;
using Formats::DifferingRuns;

namespace {

enum Action : std::uint64_t { SourceRead = 0, TargetRead = 1 };

void AppendCommand(std::string& out, Action action, std::uint64_t length) {
  AppendBpsVarint(out, (length - 1) << 2 | action);
}

void AppendCrc(std::string& out, std::uint32_t crc) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(crc >> shift & 0xFF));
}

std::span<const std::uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

void AppendBpsVarint(std::string& out, std::uint64_t value) {
  for (;;) {
    const auto low = static_cast<char>(value & 0x7F);
    value >>= 7;
    if (value == 0) {
      out.push_back(static_cast<char>(low | 0x80));
      return;
    }
    out.push_back(low);
    --value;
  }
}

std::string MakeBps(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target) {
  std::string patch = "BPS1";
  AppendBpsVarint(patch, source.size());
  AppendBpsVarint(patch, target.size());
  AppendBpsVarint(patch, 0);  // no metadata
  // One equal byte between two changes costs less as a literal than as two more commands.
  std::uint64_t at = 0;
  for (const ByteRun& run : DifferingRuns(source, target, 2)) {
    if (run.Start > at) AppendCommand(patch, SourceRead, run.Start - at);
    AppendCommand(patch, TargetRead, run.Length);
    patch.append(reinterpret_cast<const char*>(target.data() + run.Start), static_cast<std::size_t>(run.Length));
    at = run.End();
  }
  if (target.size() > at) AppendCommand(patch, SourceRead, target.size() - at);
  AppendCrc(patch, Crc32(source));
  AppendCrc(patch, Crc32(target));
  AppendCrc(patch, Crc32(AsBytes(patch)));
  return patch;
}

}  // namespace Formats
