// import, set and shift: commands that change an image, all through EditAndSave.

#include <istream>
#include <iterator>
#include <ostream>

#include "cli/CommandSupport.h"
#include "cli/EsperJson.h"
#include "cli/EsperView.h"
#include "cli/Printable.h"
#include "rom/RomLayout.h"

namespace Cli {

namespace {

std::string SpellWords(const CRomImage& rom, int spell) {
  if (spell == NoValue) return "none";
  std::string words = std::to_string(spell);
  if (auto name = SpellName(rom, spell)) words.append(1, ' ').append(Quoted(*name));
  return words;
}

std::string BonusWords(const CRomImage& rom, int bonus) {
  if (bonus == NoValue) return "none";
  std::string words = std::to_string(bonus);
  if (auto name = BonusName(rom, bonus)) words.append(1, ' ').append(Quoted(*name));
  return words;
}

// typed: the value as the user wrote it.
std::string NotASpell(const std::string& typed) {
  return typed + " is not a spell (0.." + std::to_string(RomLayout::SpellNameCount - 1) + ", or none)";
}

}  // namespace

int RunImport(Streams& io, const std::string& image, const std::string& json, const SaveOptions& save) {
  std::string text, error;
  if (json == "-")
    text.assign(std::istreambuf_iterator<char>(io.In), std::istreambuf_iterator<char>());
  else if (!ReadWholeFile(json, text, &error))
    return Fail(io, error);
  std::vector<EsperValues> espers;
  if (!ParseEspersJson(text, espers, &error)) return Fail(io, Printable(json) + ": " + error);

  return EditAndSave(io, image, save, [&](ImageSession& session, std::string* report, std::string* failure) {
    if (session.Layout != EsperLayout::SixSlot) {
      *failure = SixSlotOnly(image, session, "import");
      return false;
    }
    EsperRecords& table = session.Rom.EsperTable;
    for (int e = 0; e < RomLayout::EsperCount; ++e)
      for (int k = 0; k < PairCount; ++k) {
        const int value = espers[static_cast<std::size_t>(e)].Spells[static_cast<std::size_t>(k)];
        if (!SpellFits(value, table[static_cast<std::size_t>(e)][static_cast<std::size_t>(SpellSlot(k + 1))] & 0xFF)) {
          *failure = Printable(json) + ": espers[" + std::to_string(e) + "].spells[" + std::to_string(k) +
                     "].spell: " + NotASpell(std::to_string(value));
          return false;
        }
      }
    int changedValues = 0, changedEspers = 0;
    for (int e = 0; e < RomLayout::EsperCount; ++e) {
      EsperRecord& record = table[static_cast<std::size_t>(e)];
      const EsperValues& values = espers[static_cast<std::size_t>(e)];
      const int before = changedValues;
      auto store = [&](int slot, int value) {
        if ((record[static_cast<std::size_t>(slot)] & 0xFF) != value) ++changedValues;
        record[static_cast<std::size_t>(slot)] = value;
      };
      for (int k = 0; k < PairCount; ++k) {
        store(RateSlot(k + 1), values.Rates[static_cast<std::size_t>(k)]);
        store(SpellSlot(k + 1), values.Spells[static_cast<std::size_t>(k)]);
      }
      store(BonusSlot, values.Bonus);
      changedEspers += changedValues > before ? 1 : 0;
    }
    *report = "imported " + Printable(json) + ": " + std::to_string(changedValues) + " values changed in " +
              std::to_string(changedEspers) + " espers\n";
    return true;
  });
}

int RunSet(Streams& io, const std::string& image, const SetRequest& request, const SaveOptions& save) {
  if (request.Esper < 0 || request.Esper >= RomLayout::EsperCount)
    return Fail(io, "--esper " + Printable(request.EsperTyped) + " is out of range 0..26");
  for (const auto& [pair, rate, typed] : request.Rates) {
    if (pair < 1 || pair > PairCount) return Fail(io, "--rate " + Printable(typed) + ": pairs are 1..6");
    if (rate < 0 || rate > 255) return Fail(io, "--rate " + Printable(typed) + ": rates are 0..255");
  }
  for (const auto& [pair, spell, typed] : request.Spells) {
    if (pair < 1 || pair > PairCount) return Fail(io, "--spell " + Printable(typed) + ": pairs are 1..6");
    if (spell < 0 || spell > 255) return Fail(io, "--spell " + NotASpell(Printable(typed)));
  }
  if (request.Bonus && (*request.Bonus < 0 || *request.Bonus > 255))
    return Fail(io, "--bonus " + Printable(request.BonusTyped) + " is out of range 0..254 (or none)");

  return EditAndSave(io, image, save, [&](ImageSession& session, std::string* report, std::string* failure) {
    if (session.Layout != EsperLayout::SixSlot) {
      *failure = SixSlotOnly(image, session, "set");
      return false;
    }
    const CRomImage& rom = session.Rom;
    EsperRecord& record = session.Rom.EsperTable[static_cast<std::size_t>(request.Esper)];
    auto slot = [&](int index) -> int& { return record[static_cast<std::size_t>(index)]; };
    for (const auto& [pair, spell, typed] : request.Spells)
      if (!SpellFits(spell, slot(SpellSlot(pair)) & 0xFF)) {
        *failure = "--spell " + NotASpell(Printable(typed));
        return false;
      }

    *report = "esper " + std::to_string(request.Esper) + " " +
              Quoted(rom.EsperNames[static_cast<std::size_t>(request.Esper)].Str()) + ":\n";
    for (const auto& [pair, rate, typed] : request.Rates) {
      *report += "  pair " + std::to_string(pair) + " rate " + std::to_string(slot(RateSlot(pair)) & 0xFF) + " -> " +
                 std::to_string(rate) + "\n";
      slot(RateSlot(pair)) = rate;
    }
    for (const auto& [pair, spell, typed] : request.Spells) {
      *report += "  pair " + std::to_string(pair) + " spell " + SpellWords(rom, slot(SpellSlot(pair)) & 0xFF) + " -> " +
                 SpellWords(rom, spell) + "\n";
      slot(SpellSlot(pair)) = spell;
    }
    if (request.Bonus) {
      *report += "  bonus " + BonusWords(rom, slot(BonusSlot) & 0xFF) + " -> " + BonusWords(rom, *request.Bonus) + "\n";
      slot(BonusSlot) = *request.Bonus;
    }
    return true;
  });
}

int RunShift(Streams& io, const std::string& image, bool force, const SaveOptions& save) {
  return EditAndSave(io, image, save, [&](ImageSession& session, std::string* report, std::string* failure) {
    if (!force && session.Layout == EsperLayout::SixSlot) {
      *failure = Printable(image) + " already holds six-slot esper records (probes " + Hex(session.ProbeA, 2) + " " +
                 Hex(session.ProbeB, 2) +
                 "); shifting again would move six-slot records as if they had five slots and spoil them. "
                 "Give --force to shift all the same.";
      return false;
    }
    // As "5->6" after Load: the code patch is already in memory (ReadEsperData), then the shift,
    // which refuses rows of any size but 13 as the editor does, forced or not.
    if (!session.Rom.ShiftFiveToSix()) {
      *failure = session.Rom.FailureMessage("shift", CString(Printable(image))).Str();
      return false;
    }
    *report = "shifted the 27 esper records from five to six slots\n";
    return true;
  });
}

}  // namespace Cli
