#pragma once
// The esper table as a JSON document: what "dump --format json" and "export" write and what
// "import" reads back. Names are there for people and are never imported.
//
//   {"format": "tavero-espers", "version": 1, "layout": "six-slot", "recordSize": 13,
//    "espers": [{"number": 0, "name": "...", "nameBytes": "80 9A",
//                "spells": [{"rate": 10, "spell": 3, "name": "...", "nameBytes": "..."}, ...],
//                "bonus": 2, "bonusName": "...", "bonusNameBytes": "..."}, ...]}
//
// An empty spell and "no bonus" (0xFF) are null.

#include <array>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "cli/EsperView.h"

namespace Cli {

inline constexpr const char* JsonFormatName = "tavero-espers";
inline constexpr int JsonFormatVersion = 1;

nlohmann::ordered_json EspersToJson(const ImageSession& session, const std::vector<EsperView>& espers);

// One record's values as import writes them, in the slots of a six-slot record (the fields,
// rom/EsperFields.h): bytes 0..255, 0xFF for null.
struct EsperValues {
  EsperRecord Slots{};
};

// Reads a document in the form above: all 27 espers in order, six pairs each, every value a
// whole number in range, no key it does not know. Returns false with *error naming the place
// ("espers[3].spells[1].rate: ..."). Whether a value fits the image is for the caller (Fits).
bool ParseEspersJson(std::string_view text, std::vector<EsperValues>& espers, std::string* error);

// A value may be stored in a field when it is one of the field's own (EsperField::OwnValue),
// or when the slot holds it already: an image may hold spells past the list, which must
// survive a round trip.
bool Fits(const EsperField& field, int value, int current);

}  // namespace Cli
