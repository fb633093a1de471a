#include "rom/FileFingerprint.h"

#include <array>
#include <bit>
#include <cstring>

namespace {

constexpr std::uint64_t Prime1 = 0x9E3779B185EBCA87u;
constexpr std::uint64_t Prime2 = 0xC2B2AE3D27D4EB4Fu;
constexpr std::uint64_t Prime3 = 0x165667B19E3779F9u;

// Little-endian on every platform, so that a file hashes the same everywhere.
std::uint64_t Word(const std::uint8_t* bytes) {
  std::uint64_t word = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&word, bytes, sizeof word);
  } else {
    for (int i = 7; i >= 0; --i) word = word << 8 | bytes[i];
  }
  return word;
}

std::uint64_t Mix(std::uint64_t lane, std::uint64_t word) { return std::rotl(lane + word * Prime2, 31) * Prime1; }

}  // namespace

FileFingerprint FileFingerprint::Of(std::span<const std::uint8_t> bytes) {
  std::array<std::uint64_t, 4> lanes{Prime1 + Prime2, Prime2, 0, 0 - Prime1};
  const std::uint8_t* at = bytes.data();
  std::size_t left = bytes.size();
  for (; left >= 32; left -= 32, at += 32)
    for (std::size_t lane = 0; lane < 4; ++lane) lanes[lane] = Mix(lanes[lane], Word(at + 8 * lane));
  std::uint64_t hash = bytes.size() * Prime3;
  for (std::size_t lane = 0; lane < 4; ++lane)
    hash = Mix(hash, std::rotl(lanes[lane], 7 + 11 * static_cast<int>(lane)));
  for (; left >= 8; left -= 8, at += 8) hash = Mix(hash, Word(at));
  for (; left > 0; --left, ++at) hash = Mix(hash, *at + 1);
  // Every bit of the result depends on every bit of the last word mixed in.
  hash ^= hash >> 33;
  hash *= Prime2;
  hash ^= hash >> 29;
  hash *= Prime3;
  hash ^= hash >> 32;
  return {bytes.size(), hash};
}
