#include "cli/EsperView.h"

#include "rom/RomLayout.h"

namespace Cli {

std::vector<EsperView> ViewEspers(ImageSession& session) {
  CRomImage& rom = session.Rom;
  EsperRecords fiveSlot{};
  const bool five = session.Layout == EsperLayout::FiveSlot;
  // The code patch leaves the data block as it is, so the 11-byte records are still there.
  if (five) rom.ReadRecords(RomLayout::EsperCount, RomLayout::FiveSlotRecordSize, fiveSlot, RomLayout::EsperDataBlock);
  const EsperRecords& table = five ? fiveSlot : rom.EsperTable;
  const RecordFields fields = FieldsOf(session.Layout);

  std::vector<EsperView> espers;
  for (int e = 0; e < RomLayout::EsperCount; ++e) {
    const EsperRecord& record = table[static_cast<std::size_t>(e)];
    EsperView view;
    view.Number = e;
    view.Name = rom.EsperNames[static_cast<std::size_t>(e)].Str();
    for (int pair = 1; pair <= fields.Pairs; ++pair)
      view.Pairs.push_back({record[RateSlot(pair)] & 0xFF, record[SpellSlot(pair)] & 0xFF});
    view.Bonus = record[fields.Bonus] & 0xFF;
    espers.push_back(std::move(view));
  }
  return espers;
}

std::optional<std::string> SpellName(const CRomImage& rom, int spell) {
  if (spell < 0 || spell >= RomLayout::SpellNameCount) return std::nullopt;
  return rom.SpellNames[static_cast<std::size_t>(spell)].Str();
}

std::optional<std::string> BonusName(const CRomImage& rom, int bonus) {
  if (bonus < 0 || bonus >= static_cast<int>(rom.BonusNames.size())) return std::nullopt;
  return rom.BonusNames[static_cast<std::size_t>(bonus)].Str();
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
