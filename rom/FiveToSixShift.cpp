#include "rom/CRomImage.h"
#include "rom/RomLayout.h"

void CRomImage::ShiftFiveToSix() {
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
}
