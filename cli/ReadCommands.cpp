// info, dump and export: commands that read an image and leave it as it is.

#include <iomanip>
#include <ostream>
#include <sstream>

#include "cli/ChecksumCommand.h"
#include "cli/CommandSupport.h"
#include "cli/EsperJson.h"
#include "cli/EsperView.h"
#include "cli/Printable.h"
#include "cli/Transliteration.h"
#include "rom/RomLayout.h"

namespace Cli {

namespace {

std::string ProbeText(const ImageSession& session) {
  std::string text = Hex(session.ProbeA, 2) + " at " + Hex(RomLayout::RecordSizeProbeA) + ", " +
                     Hex(session.ProbeB, 2) + " at " + Hex(RomLayout::RecordSizeProbeB) + ": ";
  if (session.ProbeA != session.ProbeB) return text + "they disagree, so the editor refuses the image";
  if (session.Layout == EsperLayout::Unknown)
    return text + "record size " + std::to_string(session.ProbeA) +
           ", which the editor does not know: it refuses the image";
  return text + "record size " + std::to_string(session.ProbedRecordSize);
}

std::string LayoutText(const ImageSession& session) {
  if (session.Layout == EsperLayout::Unknown) return "unknown: the esper code is not one the editor knows";
  const std::uint64_t start = RomLayout::EsperDataBlock;
  const std::uint64_t length =
      static_cast<std::uint64_t>(RomLayout::EsperCount) * static_cast<std::uint64_t>(session.ProbedRecordSize);
  const std::uint64_t header = static_cast<std::uint64_t>(session.Rom.HeaderSize);
  std::string where = std::to_string(RomLayout::EsperCount) + " records of " +
                      std::to_string(session.ProbedRecordSize) + " bytes at ROM " + Hex(start) + ".." +
                      Hex(start + length - 1) + " (file " + Hex(start + header) + ".." +
                      Hex(start + header + length - 1) + ")";
  switch (session.Layout) {
    case EsperLayout::SixSlot: return "six-slot, " + where;
    case EsperLayout::FiveSlot: return "five-slot, " + where;
    case EsperLayout::Other:
    case EsperLayout::Unknown: break;
  }
  return "neither five- nor six-slot: " + where + ", as the editor reads them";
}

}  // namespace

int RunInfo(Streams& io, const std::string& image) {
  ImageSession session;
  std::string error;
  if (!session.Load(image, &error, Access::Describe)) return Fail(io, error);
  std::string sums;  // of the file as it is on disk, before the load patched any code
  if (!FileSumLines(image, &sums, &error)) return Fail(io, error);
  const CRomImage& rom = session.Rom;
  std::ostream& out = io.Out;
  out << "image:          " << Printable(image) << "\n";
  out << "length:         " << rom.BufferSize << " bytes (" << Hex(rom.BufferSize) << ")\n";
  out << "header:         " << rom.HeaderSize << " bytes\n";
  out << "large image:    "
      << (rom.LargeImage ? "yes: the image is the first " + Hex(rom.GetImageLength()) + " bytes" : std::string("no"))
      << "\n";
  out << "probes:         " << ProbeText(session) << "\n";
  out << "six-slot patch: " << PatchPresenceText(session.PatchOnDisk) << "\n";
  out << "esper data:     " << LayoutText(session) << "\n";
  if (session.Layout == EsperLayout::FiveSlot)
    out << "note:           loading patches the code for six slots (a save keeps it); \"shift\" moves the records\n";
  if (session.Layout == EsperLayout::SixSlot && !session.PatchOnDisk.Full())
    out << "note:           the probes say six-slot but the code patch is not all there\n";
  out << sums;
  return ExitSuccess;
}

namespace {

std::string Name(const std::optional<std::string>& bytes) { return bytes ? TransliterateGameText(*bytes) : ""; }

void DumpText(std::ostream& out, ImageSession& session, const std::vector<EsperView>& espers) {
  out << "esper data: " << LayoutName(session.Layout) << ", " << session.ProbedRecordSize << "-byte records\n";
  for (const EsperView& esper : espers) {
    out << "\nesper " << std::setw(2) << esper.Number << "  " << Quoted(esper.Name) << "\n";
    for (std::size_t k = 0; k < esper.Pairs.size(); ++k) {
      const PairView& pair = esper.Pairs[k];
      out << "  pair " << k + 1 << "  rate " << std::setw(3) << pair.Rate << "  spell ";
      if (pair.Spell == NoValue)
        out << "none";
      else if (auto name = SpellName(session.Rom, pair.Spell))
        out << std::setw(3) << pair.Spell << "  " << Quoted(*name);
      else
        out << std::setw(3) << pair.Spell << "  (past the spell list)";
      out << "\n";
    }
    out << "  bonus  ";
    if (esper.Bonus == NoValue)
      out << "none";
    else
      out << std::setw(3) << esper.Bonus << "  " << Quoted(BonusName(session.Rom, esper.Bonus).value_or(""));
    out << "\n";
  }
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

void DumpCsv(std::ostream& out, ImageSession& session, const std::vector<EsperView>& espers) {
  out << "number,name";
  for (int k = 1; k <= PairCount; ++k) out << ",rate" << k << ",spell" << k << ",spell" << k << "_name";
  out << ",bonus,bonus_name\n";
  for (const EsperView& esper : espers) {
    out << esper.Number << "," << CsvField(TransliterateGameText(esper.Name));
    for (std::size_t k = 0; k < PairCount; ++k) {
      if (k >= esper.Pairs.size()) {  // a five-slot record has no sixth pair
        out << ",,,";
        continue;
      }
      const PairView& pair = esper.Pairs[k];
      out << "," << pair.Rate << "," << (pair.Spell == NoValue ? std::string("none") : std::to_string(pair.Spell))
          << "," << CsvField(Name(SpellName(session.Rom, pair.Spell)));
    }
    out << "," << (esper.Bonus == NoValue ? std::string("none") : std::to_string(esper.Bonus)) << ","
        << CsvField(esper.Bonus == NoValue ? std::string() : Name(BonusName(session.Rom, esper.Bonus))) << "\n";
  }
}

}  // namespace

int RunDump(Streams& io, const std::string& image, DumpFormat format) {
  ImageSession session;
  std::string error;
  if (!session.Load(image, &error, Access::Read)) return Fail(io, error);
  const std::vector<EsperView> espers = ViewEspers(session);
  switch (format) {
    case DumpFormat::Text: DumpText(io.Out, session, espers); break;
    case DumpFormat::Json: io.Out << EspersToJson(session, espers).dump(2) << "\n"; break;
    case DumpFormat::Csv: DumpCsv(io.Out, session, espers); break;
  }
  return ExitSuccess;
}

int RunExport(Streams& io, const std::string& image, const std::string& json) {
  ImageSession session;
  std::string error;
  if (!session.Load(image, &error, Access::Read)) return Fail(io, error);
  if (session.Layout != EsperLayout::SixSlot) return Fail(io, SixSlotOnly(image, session, "export"));
  const std::string text = EspersToJson(session, ViewEspers(session)).dump(2) + "\n";
  if (SameFile(image, json))
    return Fail(io, Printable(json) + " is the image itself; the JSON goes to a file of its own.");
  if (json == "-") {
    io.Out << text;
    return ExitSuccess;
  }
  if (!WriteWholeFile(json, text, &error)) return Fail(io, error);
  return ExitSuccess;
}

}  // namespace Cli
