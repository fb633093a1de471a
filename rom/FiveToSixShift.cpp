#include <string>

#include "rom/CRomImage.h"
#include "rom/RomLayout.h"

int CRomImage::CheckShift() {
  if (!Buffer) {
    ErrorText = "no image is loaded";
    return 0;
  }
  if (RecordsShifted) {
    // The block already holds six-slot records: a second shift would read them as five-slot.
    ErrorText = "its esper records were already shifted to six slots since it was loaded";
    return 0;
  }
  if (RecordSize != RomLayout::SixSlotRecordSize) {
    // Save writes the table back in rows of RecordSize, over the 13-byte rows of the shift.
    ErrorText = CString("its esper records are " + std::to_string(RecordSize) +
                        " bytes long, and \"5->6\" moves five-slot records into 13-byte ones");
    return 0;
  }
  return 1;
}

int CRomImage::ShiftFiveToSix() {
  if (!CheckShift()) return 0;
  // The whole five-slot block is in the table before anything is written, so the longer
  // records written from the start of the block overwrite nothing still to be read.
  ReadRecords(RomLayout::EsperCount, RomLayout::FiveSlotRecordSize, EsperTable, RomLayout::EsperDataBlock);
  SeekRom(RomLayout::EsperDataBlock);
  for (int i = 0; i < RomLayout::EsperCount; ++i) {
    EsperRecord& row = EsperTable[i];
    for (int slot = 0; slot < 10; ++slot) WriteByte(row[slot]);  // the five pairs, unchanged
    WriteByte(0xFF);  // sixth pair: rate, then an empty spell
    WriteByte(0xFF);
    WriteByte(row[10]);  // the bonus, at its six-slot place
    row[12] = row[10];
    row[11] = 0xFF;
    row[10] = 0;
  }
  RecordsShifted = 1;
  return 1;
}
