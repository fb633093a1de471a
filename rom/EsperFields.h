#pragma once
// The fields of an esper record, once: what each is called, where it lies in a record of
// either layout, the values it takes, the list a value names and how the editor's list box
// shows a value. The dialog's handlers and tavero-cli's dump, JSON, set and diff iterate this
// table; none of them lists the fields by hand.

#include <array>

#include "rom/EsperRecord.h"
#include "rom/RomLayout.h"

// The name list whose entries a field's values name.
enum class NameList { None, Spells, Bonuses };

struct EsperField {
  const char* Name;  // its word in commands, JSON, dumps and diffs: "rate"
  bool InPair;       // one in each spell pair (1..PairCount), or one in the record
  int Place;         // its place within a pair, or among the fields after the last pair
  int Highest;       // values 0..Highest are its own (a slot stores 0..255)
  NameList List;     // what a value names, if anything
  bool NoneAllowed;  // NoValue (0xFF) stands for none
  int ItemOffset;    // the list box shows value v as item (v + ItemOffset) AND 0xFF
  // JSON: the keys of a value's name and of the name's bytes; null for a value without one.
  const char* NameKey;
  const char* NameBytesKey;
  // The command line's words for it and the letter of its value: "learns at rate", 'R'.
  const char* Help;
  char Letter;

  // Its slot in a record with that many pairs (five-slot records have five).
  constexpr int Slot(int pair, int pairs = PairCount) const {
    return InPair ? FieldsInPair * (pair - 1) + Place : FieldsInPair * pairs + Place;
  }
  // A value that may be stored: one of its own or none; other values only stay where they are.
  constexpr bool OwnValue(int value) const { return (value >= 0 && value <= Highest) || IsNone(value); }
  constexpr bool IsNone(int value) const { return NoneAllowed && value == NoValue; }

  static constexpr int FieldsInPair = 2;
};

inline constexpr EsperField RateField{.Name = "rate",
                                      .InPair = true,
                                      .Place = 0,
                                      .Highest = 255,
                                      .List = NameList::None,
                                      .NoneAllowed = false,
                                      .ItemOffset = 0,
                                      .NameKey = nullptr,
                                      .NameBytesKey = nullptr,
                                      .Help = "learns at rate",
                                      .Letter = 'R'};
// Spell v is item v + 1 of its box; the empty slot, 0xFF, is item 0.
inline constexpr EsperField SpellField{.Name = "spell",
                                       .InPair = true,
                                       .Place = 1,
                                       .Highest = RomLayout::SpellNameCount - 1,
                                       .List = NameList::Spells,
                                       .NoneAllowed = true,
                                       .ItemOffset = 1,
                                       .NameKey = "name",
                                       .NameBytesKey = "nameBytes",
                                       .Help = "teaches spell",
                                       .Letter = 'S'};
// Bonus v is item v of its box; no bonus, 0xFF, is the last item.
inline constexpr EsperField BonusField{.Name = "bonus",
                                       .InPair = false,
                                       .Place = 0,
                                       .Highest = RomLayout::BonusLabelCount - 1,
                                       .List = NameList::Bonuses,
                                       .NoneAllowed = true,
                                       .ItemOffset = 0,
                                       .NameKey = "bonusName",
                                       .NameBytesKey = "bonusNameBytes",
                                       .Help = "The level-up bonus",
                                       .Letter = 'B'};

// In the order of a record: the fields of a pair, then those after the pairs.
inline constexpr std::array<const EsperField*, 3> EsperFields{&RateField, &SpellField, &BonusField};

static_assert(RateField.Slot(3) == RateSlot(3) && SpellField.Slot(3) == SpellSlot(3));
static_assert(BonusField.Slot(0) == BonusSlot && BonusField.Slot(0, FiveSlotPairCount) == FiveSlotBonusSlot);

// Calls visit(field, pair) for every field of a record with that many pairs, in slot order:
// rate 1, spell 1, ..., rate 6, spell 6, then the bonus (pair 0).
template <class Visit>
constexpr void ForEachField(int pairs, Visit visit) {
  for (int pair = 1; pair <= pairs; ++pair)
    for (const EsperField* field : EsperFields)
      if (field->InPair) visit(*field, pair);
  for (const EsperField* field : EsperFields)
    if (!field->InPair) visit(*field, 0);
}
