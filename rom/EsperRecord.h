#pragma once
// One esper record as the table holds it, and the rules that tie the editor's fields to its
// slots: the rate of pair k in slot 2k - 2, its spell in slot 2k - 1, the bonus in slot 12.

#include <array>

// Slot j holds byte j of the record; a row has room for the first 32 bytes of any record.
using EsperRecord = std::array<int, 32>;
using EsperRecords = std::array<EsperRecord, 31>;

inline constexpr int PairCount = 6;                          // spell pairs of a six-slot record
constexpr int RateSlot(int pair) { return 2 * pair - 2; }   // pairs count from 1
constexpr int SpellSlot(int pair) { return 2 * pair - 1; }
inline constexpr int BonusSlot = 12;
inline constexpr int NoValue = 0xFF;                         // an empty spell slot, or no bonus

static_assert(SpellSlot(PairCount) + 1 == BonusSlot);
