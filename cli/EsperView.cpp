#include "cli/EsperView.h"

#include "cli/CommandSupport.h"
#include "rom/RomLayout.h"

namespace Cli {

std::vector<EsperView> ViewEspers(ImageSession& session) {
  CRomImage& rom = session.Rom;
  EsperRecords fiveSlot{};
  const bool five = session.Layout == EsperLayout::FiveSlot;
  // The code patch leaves the data block as it is, so the 11-byte records are still there.
  if (five) rom.ReadRecords(RomLayout::EsperCount, RomLayout::FiveSlotRecordSize, fiveSlot, RomLayout::EsperDataBlock);
  const EsperRecords& table = five ? fiveSlot : rom.EsperTable;

  std::vector<EsperView> espers;
  for (int e = 0; e < RomLayout::EsperCount; ++e) {
    EsperView view;
    view.Number = e;
    view.Name = rom.EsperNames[static_cast<std::size_t>(e)].Str();
    view.Pairs = FieldsOf(session.Layout).Pairs;
    view.Record = table[static_cast<std::size_t>(e)];
    espers.push_back(std::move(view));
  }
  return espers;
}

std::optional<std::string> ValueName(const CRomImage& rom, const EsperField& field, int value) {
  const auto at = static_cast<std::size_t>(value);
  switch (field.List) {
    case NameList::Spells:
      if (value >= 0 && value < RomLayout::SpellNameCount) return rom.SpellNames[at].Str();
      break;
    case NameList::Bonuses:
      if (value >= 0 && at < rom.BonusNames.size()) return rom.BonusNames[at].Str();
      break;
    case NameList::None: break;
  }
  return std::nullopt;
}

std::string ValueWords(const CRomImage& rom, const EsperField& field, int value, int width) {
  return ValueWords(field, value, ValueName(rom, field, value), width);
}

std::string ValueWords(const EsperField& field, int value, const std::optional<std::string>& name, int width) {
  if (field.IsNone(value)) return "none";
  std::string words = std::to_string(value);
  if (words.size() < static_cast<std::size_t>(width))
    words.insert(0, static_cast<std::size_t>(width) - words.size(), ' ');
  if (field.List == NameList::None) return words;
  const char* const gap = width > 0 ? "  " : " ";
  if (name) return words + gap + Quoted(*name);
  return width > 0 ? words + gap + "(past the " + field.Name + " list)" : words;
}

const char* LayoutName(EsperLayout layout) {
  switch (layout) {
    case EsperLayout::FiveSlot: return "five-slot";
    case EsperLayout::SixSlot: return "six-slot";
    case EsperLayout::Other:
    case EsperLayout::Unknown: break;
  }
  return "other";
}

}  // namespace Cli
