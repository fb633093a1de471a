#include <string>

#include "rom/CRomImage.h"
#include "rom/RomLayout.h"

bool CRomImage::CheckShift() {
  if (!Buffer) {
    ErrorText = "no image is loaded";
    return false;
  }
  if (RecordsShifted) {
    // The block already holds six-slot records: a second shift would read them as five-slot.
    ErrorText = "its esper records were already shifted to six slots since it was loaded";
    return false;
  }
  if (RecordSize != RomLayout::SixSlotRecordSize) {
    // Save writes the table back in rows of RecordSize, over the 13-byte rows of the shift.
    ErrorText = CString("its esper records are " + std::to_string(RecordSize) +
                        " bytes long, and \"5->6\" moves five-slot records into 13-byte ones");
    return false;
  }
  return true;
}

bool CRomImage::ShiftFiveToSix() {
  if (!CheckShift()) return false;
  // The edits made before the shift go where a save would write them, and move with the rest.
  StoreRecords();
  // The whole five-slot block is in the table before anything is written, so the longer
  // records written from the start of the block overwrite nothing still to be read.
  ReadRecords(RomLayout::EsperCount, RomLayout::FiveSlotRecordSize, EsperTable, RomLayout::EsperDataBlock);
  SeekRom(RomLayout::EsperDataBlock);
  static_assert(RateSlot(PairCount) == FiveSlotBonusSlot, "the sixth pair begins where the five-slot bonus was");
  for (int i = 0; i < RomLayout::EsperCount; ++i) {
    EsperRecord& row = EsperTable[i];
    for (int slot = 0; slot < RateSlot(PairCount); ++slot) WriteByte(row[slot]);  // the five pairs, unchanged
    WriteByte(0xFF);  // sixth pair: rate, then an empty spell
    WriteByte(NoValue);
    WriteByte(row[FiveSlotBonusSlot]);  // the bonus, at its six-slot place
    row[BonusSlot] = row[FiveSlotBonusSlot];
    row[SpellSlot(PairCount)] = NoValue;
    row[RateSlot(PairCount)] = 0;
  }
  RecordsShifted = true;
  return true;
}
