// info, dump and export: commands that read an image and leave it as it is.

#include <iomanip>
#include <ostream>
#include <sstream>

#include "cli/ChecksumCommand.h"
#include "cli/CommandSupport.h"
#include "cli/EsperJson.h"
#include "cli/EsperView.h"
#include "cli/Printable.h"
#include "rom/RomLayout.h"
#include "rom/Transliteration.h"

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

int RunInfo(Streams& io, const InfoOptions& options) {
  const std::string& image = options.Image;
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

void DumpText(std::ostream& out, ImageSession& session, const std::vector<EsperView>& espers) {
  out << "esper data: " << LayoutName(session.Layout) << ", " << session.ProbedRecordSize << "-byte records\n";
  for (const EsperView& esper : espers) {
    out << "\nesper " << std::setw(2) << esper.Number << "  " << Quoted(esper.Name);
    // A line for each pair, its fields side by side; then one for each field of the record.
    ForEachField(esper.Pairs, [&](const EsperField& field, int pair) {
      const std::string words = ValueWords(session.Rom, field, esper.Value(field, pair), 3);
      if (!field.InPair) {
        out << "\n  " << field.Name << "  " << words;
        return;
      }
      if (field.Place == 0) out << "\n  pair " << pair;
      out << "  " << field.Name << " " << words;
    });
    out << "\n";
  }
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// A column for each field of each pair (named with the pair's number) and of the record, and
// one for the name of a value that has one.
void DumpCsv(std::ostream& out, ImageSession& session, const std::vector<EsperView>& espers) {
  out << "number,name";
  ForEachField(PairCount, [&](const EsperField& field, int pair) {
    const std::string column = field.Name + (pair > 0 ? std::to_string(pair) : std::string());
    out << "," << column << (field.List != NameList::None ? "," + column + "_name" : "");
  });
  out << "\n";
  for (const EsperView& esper : espers) {
    out << esper.Number << "," << CsvField(GameText::Transliterate(esper.Name));
    ForEachField(PairCount, [&](const EsperField& field, int pair) {
      const bool named = field.List != NameList::None;
      if (pair > esper.Pairs) {  // a five-slot record has no sixth pair
        out << (named ? ",," : ",");
        return;
      }
      const int value = esper.Value(field, pair);
      out << "," << (field.IsNone(value) ? std::string("none") : std::to_string(value));
      if (named) out << "," << CsvField(GameText::Transliterate(ValueName(session.Rom, field, value).value_or("")));
    });
    out << "\n";
  }
}

}  // namespace

int RunDump(Streams& io, const DumpOptions& options) {
  ImageSession session;
  std::string error;
  if (!session.Load(options.Image, &error, Access::Read)) return Fail(io, error);
  const std::vector<EsperView> espers = ViewEspers(session);
  if (options.Format == "json")
    io.Out << EspersToJson(session, espers).dump(2) << "\n";
  else if (options.Format == "csv")
    DumpCsv(io.Out, session, espers);
  else
    DumpText(io.Out, session, espers);
  return ExitSuccess;
}

int RunExport(Streams& io, const ExportOptions& options) {
  const std::string &image = options.Image, &json = options.Json;
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
