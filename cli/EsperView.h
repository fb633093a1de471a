#pragma once
// The esper records of an opened image as values: number, name and the fields of the record
// (rom/EsperFields.h), with the names the values stand for and one way of wording them.
// Six-slot (and other) layouts read from the table the editor fills; a five-slot image from
// its 11-byte records, which the table holds only after "shift".

#include <optional>
#include <string>
#include <vector>

#include "cli/ImageSession.h"
#include "rom/EsperFields.h"

namespace Cli {

struct EsperView {
  int Number = 0;
  std::string Name;       // GameText bytes
  int Pairs = PairCount;  // five for a five-slot image
  EsperRecord Record{};   // as its layout has it
  int Value(const EsperField& field, int pair) const {
    return Record[static_cast<std::size_t>(field.Slot(pair, Pairs))] & 0xFF;
  }
};

std::vector<EsperView> ViewEspers(ImageSession& session);

// The image's name for a value of field; none for a field without a list, an empty value or a
// value past the list (spells 54..254).
std::optional<std::string> ValueName(const CRomImage& rom, const EsperField& field, int value);

// A value for people: "none", "12", or "12 "Name"" (quoted, transliterated) when it names
// an entry of the image's list. With width, the number is right-aligned in that many places
// and set two spaces from its name, and a value past the list says so, for columns.
std::string ValueWords(const CRomImage& rom, const EsperField& field, int value, int width = 0);
// The same with the name already looked up (ValueName), in whichever image it was.
std::string ValueWords(const EsperField& field, int value, const std::optional<std::string>& name, int width = 0);

const char* LayoutName(EsperLayout layout);  // "five-slot", "six-slot", "other"

}  // namespace Cli
