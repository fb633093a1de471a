#pragma once
// Every place in a ROM image that the editor reads or writes, as ROM offsets.
// A ROM offset R lies at file offset R + HeaderSize. Nothing else in the code
// spells out an offset.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace RomLayout {

// The image is the whole file, or the first LargeImageLength bytes of a longer one; its
// header, before ROM offset 0, is what its length has past a multiple of 0x10000.
inline constexpr std::uint64_t LargeImageLength = 0x800000;
constexpr bool IsLargeImage(std::uint64_t fileLength) { return fileLength >= LargeImageLength; }
constexpr std::uint64_t ImageLengthOf(std::uint64_t fileLength) {
  return IsLargeImage(fileLength) ? LargeImageLength : fileLength;
}
constexpr int HeaderSizeOf(std::uint64_t imageLength) { return static_cast<int>(imageLength % 0x10000); }
// The one header besides none that patch tools and checksums expect, and leave out.
inline constexpr int CopierHeaderSize = 0x200;
constexpr bool HeaderLeftOut(int headerSize) { return headerSize == 0 || headerSize == CopierHeaderSize; }
static_assert(HeaderSizeOf(0x300000 + CopierHeaderSize) == CopierHeaderSize);

// Record-size probes: the record size that the game code expects, twice.
inline constexpr std::uint64_t RecordSizeProbeA = 0x26295;
inline constexpr std::uint64_t RecordSizeProbeB = 0x359E1;

// Font block: 256 tiles of 16 bytes, 8x8 pixels, 2 bits per pixel, planar.
inline constexpr std::uint64_t FontBlock = 0x47FC0;
inline constexpr int GlyphCount = 256;
inline constexpr int TileBytes = 16;
inline constexpr std::size_t FontBlockLength = GlyphCount * TileBytes;

// Bonus name block: 17 fixed-width fields of 9 bytes.
inline constexpr std::uint64_t BonusNameBlock = 0xFFEAE;
inline constexpr int BonusNameWidth = 9;
inline constexpr int BonusNameCount = 17;
// Bonus values 0..254 have labels: the named ones, then generated ones. 0xFF is no bonus.
inline constexpr int BonusLabelCount = 255;

// Palette block: 2048 colours of 2 bytes, 15-bit, low byte first.
inline constexpr std::uint64_t PaletteBlock = 0x126000;
inline constexpr int PaletteColourCount = 2048;
inline constexpr std::size_t PaletteBlockLength = PaletteColourCount * 2;

// Esper data block: 27 records of RecordSize bytes, esper 0 first, no gaps.
inline constexpr std::uint64_t EsperDataBlock = 0x186E00;
inline constexpr int EsperCount = 27;
inline constexpr int FiveSlotRecordSize = 11;
inline constexpr int SixSlotRecordSize = 13;

// Spell name block: 54 fixed-width fields of 7 bytes.
inline constexpr std::uint64_t SpellNameBlock = 0x26F567;
inline constexpr int SpellNameWidth = 7;
inline constexpr int SpellNameCount = 54;

// Esper name block: 27 fixed-width fields of 8 bytes.
inline constexpr std::uint64_t EsperNameBlock = 0x26F6E1;
inline constexpr int EsperNameWidth = 8;
inline constexpr int EsperNameCount = EsperCount;

// One past the last byte the editor touches: the end of the esper name block.
// A file must hold HeaderSize + ImageEnd bytes to be edited.
inline constexpr std::uint64_t ImageEnd = EsperNameBlock + EsperNameCount * EsperNameWidth;

// The six-slot code patch: byte runs written, in this order, when an image is
// converted from five-slot to six-slot records.
struct PatchRun {
  std::uint64_t Offset;
  std::initializer_list<std::uint8_t> Bytes;
};

inline constexpr std::array<PatchRun, 13> SixSlotPatch{{
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
    // 0x10, then the seven pairs (0x70 + 12k, 0x18), then 0xC4.
    {0x3F1F0, {0x10, 0x70, 0x18, 0x7C, 0x18, 0x88, 0x18, 0x94, 0x18, 0xA0, 0x18, 0xAC, 0x18, 0xB8, 0x18, 0xC4}},
}};

// Every block the editor reads or writes, in the image's order: what must stay clear of the
// rest of the image, and what the fuzz targets aim their changes at.
struct Block {
  const char* Name;
  std::uint64_t Offset;
  std::uint64_t Length;
  constexpr std::uint64_t End() const { return Offset + Length; }
};
inline constexpr std::uint64_t SixSlotPatchEnd = SixSlotPatch.back().Offset + SixSlotPatch.back().Bytes.size();
// The records of any size the probes can give (up to 0xFF bytes), of which the editor reads
// and writes the first 32 bytes each.
inline constexpr std::uint64_t EsperDataReach = (EsperCount - 1) * 0xFF + 32;
inline constexpr std::array<Block, 9> EditorBlocks{{
    {"six-slot code patch", SixSlotPatch.front().Offset, SixSlotPatchEnd - SixSlotPatch.front().Offset},
    {"record-size probe A", RecordSizeProbeA, 1},
    {"record-size probe B", RecordSizeProbeB, 1},
    {"font block", FontBlock, FontBlockLength},
    {"bonus name block", BonusNameBlock, BonusNameCount* BonusNameWidth},
    {"palette block", PaletteBlock, PaletteColourCount * 2},
    {"esper data block", EsperDataBlock, EsperDataReach},
    {"spell name block", SpellNameBlock, SpellNameCount* SpellNameWidth},
    {"esper name block", EsperNameBlock, EsperNameCount* EsperNameWidth},
}};

// The probes lie inside the code the patch rewrites; every other block ends before the next
// one begins.
constexpr bool BlocksStandApart() {
  const Block& patch = EditorBlocks[0];
  for (const Block& probe : {EditorBlocks[1], EditorBlocks[2]})
    if (probe.Offset < patch.Offset || probe.End() > patch.End()) return false;
  if (patch.End() > EditorBlocks[3].Offset) return false;
  for (std::size_t i = 4; i < EditorBlocks.size(); ++i)
    if (EditorBlocks[i - 1].End() > EditorBlocks[i].Offset) return false;
  return true;
}
static_assert(BlocksStandApart());
static_assert(SpellNameBlock + SpellNameCount * SpellNameWidth == EsperNameBlock,
              "the spell name block ends where the esper name block begins");
static_assert(EditorBlocks.back().End() == ImageEnd && ImageEnd == 0x26F7B9);
// The shortest file that reaches ImageEnd past its header, for any header: a whole number
// of 0x10000 blocks (a header is what the length has past one), so one more header byte
// adds one byte to both.
inline constexpr std::uint64_t ShortestImageLength = (ImageEnd + 0xFFFF) / 0x10000 * 0x10000;
static_assert(ShortestImageLength == 0x270000);

}  // namespace RomLayout
