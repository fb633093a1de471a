#include <algorithm>

#include "rom/CRomImage.h"
#include "rom/GameText.h"
#include "rom/RomLayout.h"

namespace {

constexpr std::array<std::uint8_t, 16> HexDigitCodes{0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xBB,
                                                     0xBC, 0xBD, 0x80, 0x81, 0x82, 0x83, 0x84, 0x85};
static_assert(HexDigitCodes[0] == GameText::Digit0 && HexDigitCodes[10] == GameText::UpperA);

constexpr int MaxRecordSize = static_cast<int>(std::tuple_size_v<EsperRecord>);
constexpr int TableRows = static_cast<int>(std::tuple_size_v<EsperRecords>);

// Bonuses past the named ones read "0x" and two hex digits, in game codes.
CString GeneratedBonusLabel(const std::array<std::uint8_t, 16>& digits, int index) {
  const char label[4] = {static_cast<char>(digits[0]), static_cast<char>(GameText::HexMark),
                         static_cast<char>(digits[index / 16]), static_cast<char>(digits[index % 16])};
  return CString(label, sizeof label);
}

}  // namespace

void CRomImage::ReadEsperData() {
  HexDigits = HexDigitCodes;

  std::uint8_t a = PeekByte(RomLayout::RecordSizeProbeA);
  std::uint8_t b = PeekByte(RomLayout::RecordSizeProbeB);
  // The Load command has refused probes that disagree (CheckEsperCode); a caller that did not
  // ask keeps the record size of the previous image.
  if (a == b) RecordSize = b;
  if (RecordSize == RomLayout::FiveSlotRecordSize) ApplySixSlotPatch();

  ReadRecords(RomLayout::EsperCount, RecordSize, EsperTable, RomLayout::EsperDataBlock);

  for (int i = 0; i < RomLayout::BonusNameCount; ++i)
    BonusNames[i] = ReadText(RomLayout::BonusNameWidth, RomLayout::BonusNameBlock + RomLayout::BonusNameWidth * i);
  for (int i = RomLayout::BonusNameCount; i < static_cast<int>(BonusNames.size()); ++i)
    BonusNames[i] = GeneratedBonusLabel(HexDigits, i);
  for (int i = 0; i < RomLayout::SpellNameCount; ++i)
    SpellNames[i] = ReadText(RomLayout::SpellNameWidth, RomLayout::SpellNameBlock + RomLayout::SpellNameWidth * i);
  for (int i = 0; i < RomLayout::EsperNameCount; ++i)
    EsperNames[i] = ReadText(RomLayout::EsperNameWidth, RomLayout::EsperNameBlock + RomLayout::EsperNameWidth * i);
}

// Both walk the block the same way: record i from romOffset + i * size, its first 32 bytes.
void CRomImage::ReadRecords(int count, int size, EsperRecords& table, std::uint64_t romOffset) {
  for (int i = 0; i < std::min(count, TableRows); ++i) {
    SeekRom(romOffset + static_cast<std::uint64_t>(i) * static_cast<std::uint64_t>(std::max(size, 0)));
    for (int j = 0; j < std::min(size, MaxRecordSize); ++j) table[i][j] = ReadByte();
  }
}

void CRomImage::WriteRecords(int count, int size, const EsperRecords& table, std::uint64_t romOffset) {
  for (int i = 0; i < std::min(count, TableRows); ++i) {
    SeekRom(romOffset + static_cast<std::uint64_t>(i) * static_cast<std::uint64_t>(std::max(size, 0)));
    for (int j = 0; j < std::min(size, MaxRecordSize); ++j) WriteByte(table[i][j]);
  }
}

void CRomImage::StoreRecords() {
  WriteRecords(RomLayout::EsperCount, RecordSize, EsperTable, RomLayout::EsperDataBlock);
}

void CRomImage::ApplySixSlotPatch() {
  for (const RomLayout::PatchRun& run : RomLayout::SixSlotPatch) {
    SeekRom(run.Offset);
    for (std::uint8_t byte : run.Bytes) WriteByte(byte);
  }
  RecordSize = RomLayout::SixSlotRecordSize;
}
