#include "PatchAppliers.h"

#include <zlib.h>

#include <cstring>

namespace {

std::uint32_t Crc(const std::uint8_t* bytes, std::size_t length) {
  return static_cast<std::uint32_t>(crc32(0L, bytes, static_cast<uInt>(length)));
}

std::uint32_t Le32(ByteSpan bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace

std::string ApplyBps(ByteSpan source, ByteSpan patch, Bytes& target) {
  target.clear();
  if (patch.size() < 4 + 3 + 12 || std::memcmp(patch.data(), "BPS1", 4) != 0) return "not a BPS patch";
  const std::size_t end = patch.size() - 12;
  std::size_t at = 4;
  bool overrun = false;
  auto number = [&]() -> std::uint64_t {
    std::uint64_t value = 0, shift = 1;
    for (;;) {
      if (at >= end) {
        overrun = true;
        return 0;
      }
      const std::uint8_t byte = patch[at++];
      value += (byte & 0x7F) * shift;
      if (byte & 0x80) return value;
      shift <<= 7;
      value += shift;
    }
  };
  const std::uint64_t sourceSize = number(), targetSize = number(), metadata = number();
  at += metadata;
  if (overrun || sourceSize != source.size()) return "source size";
  while (at < end && !overrun) {
    const std::uint64_t command = number();
    const std::uint64_t length = (command >> 2) + 1;
    if (overrun) break;
    if ((command & 3) == 0) {  // SourceRead
      if (target.size() + length > source.size()) return "SourceRead past the source";
      target.insert(target.end(), source.begin() + static_cast<std::ptrdiff_t>(target.size()),
                    source.begin() + static_cast<std::ptrdiff_t>(target.size() + length));
    } else if ((command & 3) == 1) {  // TargetRead
      if (at + length > end) return "TargetRead past the patch";
      target.insert(target.end(), patch.begin() + static_cast<std::ptrdiff_t>(at),
                    patch.begin() + static_cast<std::ptrdiff_t>(at + length));
      at += length;
    } else {
      return "a copy command, which tavero-cli does not write";
    }
  }
  if (overrun || target.size() != targetSize) return "target size";
  if (Le32(patch, end) != Crc(source.data(), source.size())) return "source CRC";
  if (Le32(patch, end + 4) != Crc(target.data(), target.size())) return "target CRC";
  if (Le32(patch, end + 8) != Crc(patch.data(), end + 8)) return "patch CRC";
  return "";
}

std::string ApplyIps(ByteSpan source, ByteSpan patch, Bytes& target) {
  if (patch.size() < 8 || std::memcmp(patch.data(), "PATCH", 5) != 0) return "not an IPS patch";
  target.assign(source.begin(), source.end());
  std::size_t at = 5;
  for (;;) {
    if (at + 3 > patch.size()) return "no EOF";
    if (std::memcmp(patch.data() + at, "EOF", 3) == 0) break;
    if (at + 5 > patch.size()) return "a record header past the end";
    const std::size_t offset = patch[at] << 16 | patch[at + 1] << 8 | patch[at + 2];
    const std::size_t length = patch[at + 3] << 8 | patch[at + 4];
    at += 5;
    if (length == 0) return "an RLE record, which tavero-cli does not write";
    if (offset + length > target.size()) return "a record past the end of the source";
    if (at + length > patch.size()) return "record data past the end";
    std::memcpy(target.data() + offset, patch.data() + at, length);
    at += length;
  }
  if (at + 3 != patch.size()) return "bytes after EOF";
  return "";
}

Applied ApplyBps(ByteSpan source, ByteSpan patch) {
  Applied applied;
  applied.Error = ApplyBps(source, patch, applied.Target);
  if (!applied.Error.empty()) applied.Target.clear();
  return applied;
}

Applied ApplyIps(ByteSpan source, ByteSpan patch) {
  Applied applied;
  applied.Error = ApplyIps(source, patch, applied.Target);
  if (!applied.Error.empty()) applied.Target.clear();
  return applied;
}
