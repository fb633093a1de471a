#pragma once
// One esper record as the table holds it, and the rules that tie the editor's fields to its
// slots: the rate of pair k in slot 2k - 2, its spell in slot 2k - 1, the bonus in slot 12.
// A five-slot record, as an image holds it before "5->6", has five pairs by the same rule
// and the bonus in slot 10.

#include <array>

#include "rom/RomLayout.h"

// Slot j holds byte j of the record; a row has room for the first 32 bytes of any record.
using EsperRecord = std::array<int, 32>;
using EsperRecords = std::array<EsperRecord, 31>;

inline constexpr int PairCount = 6;                        // spell pairs of a six-slot record
constexpr int RateSlot(int pair) { return 2 * pair - 2; }  // pairs count from 1
constexpr int SpellSlot(int pair) { return 2 * pair - 1; }
inline constexpr int BonusSlot = 12;
inline constexpr int NoValue = 0xFF;  // an empty spell slot, or no bonus

static_assert(SpellSlot(PairCount) + 1 == BonusSlot);
static_assert(BonusSlot + 1 == RomLayout::SixSlotRecordSize);

inline constexpr int FiveSlotPairCount = 5;
inline constexpr int FiveSlotBonusSlot = 10;

static_assert(SpellSlot(FiveSlotPairCount) + 1 == FiveSlotBonusSlot);
static_assert(FiveSlotBonusSlot + 1 == RomLayout::FiveSlotRecordSize);
