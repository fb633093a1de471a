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

// typed: the value as the user wrote it.
std::string NotOwnValue(const EsperField& field, const std::string& typed) {
  return typed + " is not a " + field.Name + " (0.." + std::to_string(field.Highest) +
         (field.NoneAllowed ? ", or none)" : ")");
}

}  // namespace

int RunImport(Streams& io, const ImportOptions& options) {
  const std::string& json = options.Json;
  std::string text, error;
  if (json == "-") {
    text.assign(std::istreambuf_iterator<char>(io.In), std::istreambuf_iterator<char>());
    if (io.In.bad()) return Fail(io, "Could not read the standard input.");
  } else if (!ReadWholeFile(json, text, &error)) {
    return Fail(io, error);
  }
  std::vector<EsperValues> espers;
  if (!ParseEspersJson(text, espers, &error)) return Fail(io, Printable(json) + ": " + error);

  const std::string& image = options.Image;
  return EditAndSave(io, image, options.Save, [&](ImageSession& session, std::string* report, std::string* failure) {
    if (session.Layout != EsperLayout::SixSlot) {
      *failure = SixSlotOnly(image, session, "import");
      return false;
    }
    EsperRecords& table = session.Rom.EsperTable;
    for (int e = 0; e < RomLayout::EsperCount; ++e) {
      const EsperRecord& record = table[static_cast<std::size_t>(e)];
      bool fits = true;
      ForEachField(PairCount, [&](const EsperField& field, int pair) {
        const auto slot = static_cast<std::size_t>(field.Slot(pair));
        const int value = espers[static_cast<std::size_t>(e)].Slots[slot];
        if (!fits || Fits(field, value, record[slot] & 0xFF)) return;
        fits = false;
        *failure = Printable(json) + ": espers[" + std::to_string(e) + "]" +
                   (field.InPair ? ".spells[" + std::to_string(pair - 1) + "]" : std::string()) + "." + field.Name +
                   ": " + NotOwnValue(field, std::to_string(value));
      });
      if (!fits) return false;
    }
    int changedValues = 0, changedEspers = 0;
    for (int e = 0; e < RomLayout::EsperCount; ++e) {
      EsperRecord& record = table[static_cast<std::size_t>(e)];
      const EsperValues& values = espers[static_cast<std::size_t>(e)];
      const int before = changedValues;
      ForEachField(PairCount, [&](const EsperField& field, int pair) {
        const auto slot = static_cast<std::size_t>(field.Slot(pair));
        if ((record[slot] & 0xFF) != values.Slots[slot]) ++changedValues;
        record[slot] = values.Slots[slot];
      });
      changedEspers += changedValues > before ? 1 : 0;
    }
    *report = "imported " + Printable(json) + ": " + std::to_string(changedValues) + " values changed in " +
              std::to_string(changedEspers) + " espers\n";
    return true;
  });
}

int RunSet(Streams& io, const SetOptions& options) {
  const SetRequest& request = options.Request;
  if (request.Esper < 0 || request.Esper >= RomLayout::EsperCount)
    return Fail(io, "--esper " + Printable(request.EsperTyped) + " is out of range 0.." +
                        std::to_string(RomLayout::EsperCount - 1));
  for (const FieldEdit& edit : request.Edits) {
    const std::string option = std::string("--") + edit.Field->Name + " " + Printable(edit.Typed);
    if (edit.Field->InPair && (edit.Pair < 1 || edit.Pair > PairCount))
      return Fail(io, option + ": pairs are 1.." + std::to_string(PairCount));
    if (edit.Value < 0 || edit.Value > 255) return Fail(io, "--" + NotOwnValue(*edit.Field, option.substr(2)));
  }

  const std::string& image = options.Image;
  return EditAndSave(io, image, options.Save, [&](ImageSession& session, std::string* report, std::string* failure) {
    if (session.Layout != EsperLayout::SixSlot) {
      *failure = SixSlotOnly(image, session, "set");
      return false;
    }
    const CRomImage& rom = session.Rom;
    EsperRecord& record = session.Rom.EsperTable[static_cast<std::size_t>(request.Esper)];
    auto slot = [&](const FieldEdit& edit) -> int& {
      return record[static_cast<std::size_t>(edit.Field->Slot(edit.Pair))];
    };
    for (const FieldEdit& edit : request.Edits)
      if (!Fits(*edit.Field, edit.Value, slot(edit) & 0xFF)) {
        *failure = "--" + NotOwnValue(*edit.Field, std::string(edit.Field->Name) + " " + Printable(edit.Typed));
        return false;
      }

    *report = "esper " + std::to_string(request.Esper) + " " +
              Quoted(rom.EsperNames[static_cast<std::size_t>(request.Esper)].Str()) + ":\n";
    for (const FieldEdit& edit : request.Edits) {
      *report += std::string("  ") + (edit.Field->InPair ? "pair " + std::to_string(edit.Pair) + " " : "") +
                 edit.Field->Name + " " + ValueWords(rom, *edit.Field, slot(edit) & 0xFF) + " -> " +
                 ValueWords(rom, *edit.Field, edit.Value) + "\n";
      slot(edit) = edit.Value;
    }
    return true;
  });
}

int RunShift(Streams& io, const ShiftOptions& options) {
  const std::string& image = options.Image;
  const bool force = options.Force;
  return EditAndSave(io, image, options.Save, [&](ImageSession& session, std::string* report, std::string* failure) {
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
