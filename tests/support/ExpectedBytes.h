#pragma once
// Bytes the tests expect, written out here rather than taken from the code's own tables or
// state, so that a wrong table or a wrong rule in rom/ fails the tests instead of agreeing
// with them. Header-only: the Win32 end-to-end test uses it too.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// Offsets where two files differ (and every offset past the shorter one): a short list to
// print where whole images would not be.
inline std::vector<std::size_t> Differences(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  std::vector<std::size_t> at;
  for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i)
    if (i >= a.size() || i >= b.size() || a[i] != b[i]) at.push_back(i);
  return at;
}

namespace Expected {

using ByteString = std::vector<std::uint8_t>;

inline constexpr std::size_t EsperBlock = 0x186E00;  // ROM offset of esper 0's record

struct PatchRun {
  std::size_t Offset;  // ROM offset
  ByteString Values;
};

// The six-slot code patch that Load writes into a five-slot image.
inline const std::vector<PatchRun> SixSlotPatch = {
    {0x2602F, {0x06}},
    {0x26295, {0x0D}},
    {0x35987, {0xF0, 0xF1}},
    {0x35990, {0x08}},
    {0x359E1, {0x0D}},
    {0x35A25, {0x1D}},
    {0x35A3C, {0x93}},
    {0x35A68, {0x93}},
    {0x35B66, {0x0D}},
    {0x35B86, {0x07}},
    {0x35B8F, {0x94}},
    {0x35BE0, {0x07}},
    {0x3F1F0, {0x10, 0x70, 0x18, 0x7C, 0x18, 0x88, 0x18, 0x94, 0x18, 0xA0, 0x18, 0xAC, 0x18, 0xB8, 0x18, 0xC4}},
};

// file (header bytes before ROM offset 0) with the six-slot code patch written in.
inline ByteString WithSixSlotPatch(ByteString file, std::size_t header) {
  for (const PatchRun& run : SixSlotPatch)
    for (std::size_t i = 0; i < run.Values.size(); ++i) file[header + run.Offset + i] = run.Values[i];
  return file;
}

// A five-slot image after Load, "5->6" and Save: the code patch, and each 11-byte record
// (five rate and spell pairs, then the bonus) as 13 bytes: the ten pair bytes, a sixth pair of
// rate 0 and no spell, then the bonus.
inline ByteString ShiftedAndSaved(const ByteString& file, std::size_t header) {
  ByteString shifted = WithSixSlotPatch(file, header);
  for (std::size_t e = 0; e < 27; ++e) {
    const std::size_t from = header + EsperBlock + 11 * e, to = header + EsperBlock + 13 * e;
    for (std::size_t slot = 0; slot < 10; ++slot) shifted[to + slot] = file[from + slot];
    shifted[to + 10] = 0x00;
    shifted[to + 11] = 0xFF;
    shifted[to + 12] = file[from + 10];
  }
  return shifted;
}

}  // namespace Expected
