#pragma once
// The esper records of an opened image as values: number, name, spell pairs, bonus.
// Six-slot (and other) layouts read from the table the editor fills; a five-slot image
// from its 11-byte records, which the table holds only after "shift".

#include <optional>
#include <string>
#include <vector>

#include "cli/ImageSession.h"
#include "rom/EsperRecord.h"

namespace Cli {

struct PairView {
  int Rate = 0;
  int Spell = NoValue;
};

struct EsperView {
  int Number = 0;
  std::string Name;             // GameText bytes
  std::vector<PairView> Pairs;  // five for a five-slot image, six otherwise
  int Bonus = NoValue;
};

std::vector<EsperView> ViewEspers(ImageSession& session);

// The image's name for a spell or bonus value; none for an empty value or a value past
// the lists (spells 54..254).
std::optional<std::string> SpellName(const CRomImage& rom, int spell);
std::optional<std::string> BonusName(const CRomImage& rom, int bonus);

const char* LayoutName(EsperLayout layout);  // "five-slot", "six-slot", "other"

}  // namespace Cli
