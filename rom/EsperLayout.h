#pragma once
// What an image's bytes say about its esper data before a load patches the code: the layout
// its record-size probes name, and how much of the six-slot code patch it holds already.

#include <cstdint>

#include "rom/CRomImage.h"
#include "rom/EsperRecord.h"

enum class EsperLayout {
  FiveSlot,  // record size 11: the editor patches the code on load and reads 13-byte rows
  SixSlot,   // record size 13
  Other,     // 14 and up: rows of that size, as the editor reads them
  Unknown,   // probes that disagree, or agree on 0..10 or 12: the editor refuses the image
};

// The layout the probes name, by the editor's own rule (CRomImage::KnownEsperCode).
constexpr EsperLayout LayoutOfProbes(std::uint8_t probeA, std::uint8_t probeB) {
  if (!CRomImage::KnownEsperCode(probeA, probeB)) return EsperLayout::Unknown;
  if (probeA == RomLayout::FiveSlotRecordSize) return EsperLayout::FiveSlot;
  return probeA == RomLayout::SixSlotRecordSize ? EsperLayout::SixSlot : EsperLayout::Other;
}

// Where a record of a layout keeps its values: a five-slot record its five pairs and the
// bonus in slot 10; every other (the editor reads them all as six-slot) six and slot 12.
struct RecordFields {
  int Pairs = PairCount;
  int Bonus = BonusSlot;
  int Slots() const { return Bonus + 1; }  // the slots the values take, from slot 0
};
constexpr RecordFields FieldsOf(EsperLayout layout) {
  return layout == EsperLayout::FiveSlot ? RecordFields{FiveSlotPairCount, FiveSlotBonusSlot} : RecordFields{};
}

// How much of the six-slot code patch an image holds, run by run and byte by byte.
struct PatchPresence {
  int RunsPresent = 0;
  int RunCount = 0;
  int BytesPresent = 0;
  int ByteCount = 0;
  bool Full() const { return RunsPresent == RunCount; }
  bool None() const { return BytesPresent == 0; }
};

// Reads what rom holds now (so before ReadEsperData, for the bytes as they were on disk).
PatchPresence FindSixSlotPatch(const CRomImage& rom);
