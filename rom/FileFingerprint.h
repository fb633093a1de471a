#pragma once
// What a file held: its length and a 64-bit hash of its bytes. Kept at Load, it tells a Save
// whether another program changed the file since, and ties a recovery of unsaved edits to its
// image, without keeping a second copy of the bytes. The hash is this program's own, the same on
// every platform (recovery files outlive a run), and fast enough that a Load stays about a plain
// read of the file (bench/load_bench): four independent lanes of multiply and rotate, as
// CRC-32's byte-serial chain is not.

#include <cstdint>
#include <span>

struct FileFingerprint {
  std::uint64_t Length = 0;
  std::uint64_t Hash = 0;

  static FileFingerprint Of(std::span<const std::uint8_t> bytes);
  bool operator==(const FileFingerprint&) const = default;
};
