#include "formats/Ips.h"

#include <algorithm>
#include <cstdio>

#include "formats/ByteRuns.h"

namespace Formats {

using Formats::ByteRun;
using Formats::DifferingRuns;

namespace {

constexpr std::uint64_t MaxRecordLength = 0xFFFF;
// A record at this offset would begin with the bytes "EOF" and end the patch there.
constexpr std::uint64_t ReadsAsEof = 0x454F46;

void AppendNumber(std::string& out, std::uint64_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift & 0xFF));
}

std::string HexOffset(std::uint64_t offset) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(offset));
  return text;
}

}  // namespace

bool MakeIps(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target, std::string* patch,
             std::string* error) {
  // A record header costs five bytes, so up to four equal bytes between changes go in as data.
  const std::vector<ByteRun> runs = DifferingRuns(source, target, 5);
  if (!runs.empty() && runs.back().End() > IpsAddressLimit) {
    *error = std::string("a change lies at offset ") + HexOffset(runs.back().End() - 1) +
             ", past the 16 MiB that IPS offsets reach; write a BPS patch instead";
    return false;
  }
  std::string out = "PATCH";
  for (const ByteRun& run : runs)
    for (std::uint64_t at = run.Start; at < run.End();) {
      if (at == ReadsAsEof) --at;  // one byte earlier: rewriting that byte with its target value is harmless
      const std::uint64_t length = std::min(MaxRecordLength, run.End() - at);
      AppendNumber(out, at, 3);
      AppendNumber(out, length, 2);
      out.append(reinterpret_cast<const char*>(target.data() + at), static_cast<std::size_t>(length));
      at += length;
    }
  out.append("EOF");
  *patch = std::move(out);
  return true;
}

}  // namespace Formats
