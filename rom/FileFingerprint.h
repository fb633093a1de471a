#pragma once
// What a file held: its length and CRC-32. Kept at Load, it tells a Save whether another
// program changed the file since, and ties a recovery of unsaved edits to its image, without
// keeping a second copy of the bytes.

#include <cstdint>
#include <span>

#include "formats/Crc32.h"

struct FileFingerprint {
  std::uint64_t Length = 0;
  std::uint32_t Crc = 0;

  static FileFingerprint Of(std::span<const std::uint8_t> bytes) { return {bytes.size(), Formats::Crc32(bytes)}; }
  bool operator==(const FileFingerprint&) const = default;
};
