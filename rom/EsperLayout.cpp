#include "rom/EsperLayout.h"

PatchPresence FindSixSlotPatch(const CRomImage& rom) {
  PatchPresence found;
  for (const RomLayout::PatchRun& run : RomLayout::SixSlotPatch) {
    int matching = 0;
    std::uint64_t at = run.Offset;
    for (std::uint8_t byte : run.Bytes) matching += rom.PeekByte(at++) == byte ? 1 : 0;
    ++found.RunCount;
    found.ByteCount += static_cast<int>(run.Bytes.size());
    found.BytesPresent += matching;
    if (matching == static_cast<int>(run.Bytes.size())) ++found.RunsPresent;
  }
  return found;
}
