#pragma once
// The cartridge's internal header of a HiROM image, as ROM offsets, and the checksum it
// carries. The editor never reads or writes it; tools that share images look at it, and
// emulators and hardware complain when its checksum no longer matches the bytes.

#include <cstddef>
#include <cstdint>
#include <span>

#include "rom/RomLayout.h"

namespace InternalHeader {

inline constexpr std::uint64_t Block = 0xFFB0;  // the header, up to the end of the first bank
inline constexpr std::uint64_t BlockEnd = 0x10000;
inline constexpr std::uint64_t Title = 0xFFC0;
inline constexpr int TitleLength = 21;
inline constexpr std::uint64_t MapMode = 0xFFD5;
inline constexpr std::uint64_t CartridgeType = 0xFFD6;
inline constexpr std::uint64_t RomSizeCode = 0xFFD7;  // log2 of the size in KiB
inline constexpr std::uint64_t RamSizeCode = 0xFFD8;
inline constexpr std::uint64_t Region = 0xFFD9;
inline constexpr std::uint64_t Maker = 0xFFDA;
inline constexpr std::uint64_t Version = 0xFFDB;
// Both 16-bit, low byte first; the complement is the checksum XOR 0xFFFF.
inline constexpr std::uint64_t ChecksumComplement = 0xFFDC;
inline constexpr std::uint64_t Checksum = 0xFFDE;
constexpr std::uint16_t ComplementOf(std::uint16_t checksum) { return static_cast<std::uint16_t>(checksum ^ 0xFFFF); }

inline constexpr std::uint8_t HiRomMapMode = 0x21;
inline constexpr std::uint8_t FastHiRomMapMode = 0x31;
constexpr bool IsHiRom(std::uint8_t mapMode) { return mapMode == HiRomMapMode || mapMode == FastHiRomMapMode; }

// The header lies in the first bank, below every place the editor touches, so fixing the
// checksum never changes what the editor reads and an edit never moves the header.
constexpr bool ClearOfTheEditor() {
  for (const RomLayout::Block& block : RomLayout::EditorBlocks)
    if (block.Offset < BlockEnd) return false;
  return true;
}
static_assert(ClearOfTheEditor());
static_assert(Title + TitleLength == MapMode && Checksum + 2 <= BlockEnd);

// The checksum of rom (the image without a copier header; at least BlockEnd bytes): the
// 16-bit sum of its bytes with the stored complement and checksum counted as FF FF 00 00,
// so the result does not depend on what is stored. A size that is not a power of two is
// counted as the console mirrors it: the largest power of two below the size, plus the rest
// (itself counted this way) repeated until it fills that power of two again.
std::uint16_t Compute(std::span<const std::uint8_t> rom);

// The stored values (rom: at least BlockEnd bytes).
std::uint16_t StoredChecksum(std::span<const std::uint8_t> rom);
std::uint16_t StoredComplement(std::span<const std::uint8_t> rom);

// Stores checksum and its complement (rom: at least BlockEnd bytes).
void Store(std::span<std::uint8_t> rom, std::uint16_t checksum);

// What an image's stored checksum says of its bytes. Tools word it; the verdict is here.
struct ChecksumCheck {
  enum class Verdict {
    Good,       // stored checksum and complement match the bytes
    Stale,      // they do not
    NotHiRom,   // the map-mode byte does not say HiROM: there is no header to check here
    OddHeader,  // a copier header other than none or RomLayout::CopierHeaderSize bytes
    TooShort,   // the image ends before its internal header
  };
  Verdict Result = Verdict::TooShort;
  int HeaderSize = 0;
  std::uint64_t ImageSize = 0;  // bytes summed, before mirroring
  std::uint8_t MapMode = 0;
  std::uint16_t Stored = 0;
  std::uint16_t StoredComplement = 0;
  std::uint16_t Computed = 0;
  bool Checked() const { return Result == Verdict::Good || Result == Verdict::Stale; }
};

// The verdict on image (the bytes from ROM offset 0 to the image's end, what a save writes)
// that a file holds behind a copier header of headerSize bytes.
ChecksumCheck Inspect(std::span<const std::uint8_t> image, int headerSize);

}  // namespace InternalHeader
