// diff: what changed between two images, by esper and field, then by byte.

#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CommandSupport.h"
#include "cli/EsperView.h"
#include "cli/ImageDiff.h"
#include "cli/Printable.h"
#include "rom/Transliteration.h"

namespace Cli {

namespace {

using nlohmann::ordered_json;

// Runs listed one by one; past these, only counted.
constexpr std::size_t RunsShown = 20;

const char* LayoutWord(EsperLayout layout) { return layout == EsperLayout::Unknown ? "unknown" : LayoutName(layout); }

std::string SideText(const DiffSide& side) {
  std::string text = Printable(side.Path) + ": " + std::to_string(side.Length) + " bytes, ";
  text += side.HeaderSize == 0 ? std::string("no header") : std::to_string(side.HeaderSize) + "-byte header";
  text.append(", ").append(LayoutWord(side.Layout));
  if (side.Layout == EsperLayout::Other) text += " (" + std::to_string(side.RecordSize) + "-byte records)";
  return text + ", code patch " + PatchPresenceText(side.CodePatch);
}

std::string ValueText(const FieldChange& change, int value, const std::optional<std::string>& name) {
  return value == AbsentValue ? "absent" : ValueWords(*change.Field, value, name);
}

std::string RunText(const Formats::ByteRun& run) {
  std::string text = "ROM " + Hex(run.Start, 6);
  if (run.Length > 1) text += ".." + Hex(run.End() - 1, 6);
  return text + " (" + std::to_string(run.Length) + (run.Length == 1 ? " byte)" : " bytes)");
}

void PrintText(std::ostream& out, const ImageDiff& diff) {
  out << "old: " << SideText(diff.Old) << "\n";
  out << "new: " << SideText(diff.New) << "\n";
  if (diff.Old.HeaderSize != diff.New.HeaderSize)
    out << "header: " << diff.Old.HeaderSize << " -> " << diff.New.HeaderSize
        << " bytes (left out of the comparison)\n";
  else if (diff.HeaderBytesDiffer)
    out << "header: the copier headers differ (left out of the comparison)\n";
  if (diff.Old.RomLength() != diff.New.RomLength())
    out << "length: " << diff.Old.RomLength() << " -> " << diff.New.RomLength()
        << " bytes without header; bytes compared up to ROM "
        << Hex(std::min(diff.Old.RomLength(), diff.New.RomLength())) << "\n";
  if (diff.Same()) {
    out << "same: the images hold the same bytes\n";
    return;
  }
  if (!diff.RecordsCompared) out << "esper records: not compared, as the editor does not know an image's esper code\n";
  for (const EsperChange& esper : diff.Espers) {
    out << "esper " << esper.Number << " " << Quoted(esper.NewName);
    if (esper.OldName != esper.NewName) out << " (was " << Quoted(esper.OldName) << ")";
    out << ":\n";
    for (const FieldChange& field : esper.Fields) {
      out << "  " << field.Field->Name;
      if (field.Field->InPair) out << " " << field.Pair;
      out << ": " << ValueText(field, field.Old, field.OldName) << " -> " << ValueText(field, field.New, field.NewName)
          << "\n";
    }
  }
  if (diff.Runs.empty()) {
    out << "other bytes: none differ\n";
    return;
  }
  out << "other bytes: " << diff.RunBytes << (diff.RunBytes == 1 ? " byte" : " bytes") << " in " << diff.Runs.size()
      << (diff.Runs.size() == 1 ? " run" : " runs") << "\n";
  for (std::size_t i = 0; i < diff.Runs.size() && i < RunsShown; ++i) out << "  " << RunText(diff.Runs[i]) << "\n";
  if (diff.Runs.size() > RunsShown) out << "  and " << diff.Runs.size() - RunsShown << " more runs\n";
}

ordered_json SideJson(const DiffSide& side) {
  return {{"path", side.Path},
          {"length", side.Length},
          {"header", side.HeaderSize},
          {"layout", LayoutWord(side.Layout)},
          {"recordSize", side.RecordSize},
          {"codePatch",
           {{"runsPresent", side.CodePatch.RunsPresent},
            {"runCount", side.CodePatch.RunCount},
            {"bytesPresent", side.CodePatch.BytesPresent},
            {"byteCount", side.CodePatch.ByteCount}}}};
}

ordered_json ValueJson(const FieldChange& change, int value) {
  if (value == AbsentValue) return "absent";
  if (change.Field->IsNone(value)) return nullptr;
  return value;
}

void PutName(ordered_json& object, const char* key, const std::optional<std::string>& name) {
  if (name) object[key] = GameText::Transliterate(*name);
}

ordered_json DiffJson(const ImageDiff& diff) {
  ordered_json espers = ordered_json::array();
  for (const EsperChange& esper : diff.Espers) {
    ordered_json changes = ordered_json::array();
    for (const FieldChange& field : esper.Fields) {
      ordered_json change{{"field", field.Field->Name}};
      if (field.Field->InPair) change["pair"] = field.Pair;
      change["old"] = ValueJson(field, field.Old);
      PutName(change, "oldName", field.OldName);
      change["new"] = ValueJson(field, field.New);
      PutName(change, "newName", field.NewName);
      changes.push_back(std::move(change));
    }
    ordered_json entry{{"number", esper.Number}, {"name", GameText::Transliterate(esper.NewName)}};
    if (esper.OldName != esper.NewName) entry["oldName"] = GameText::Transliterate(esper.OldName);
    entry["changes"] = std::move(changes);
    espers.push_back(std::move(entry));
  }
  ordered_json runs = ordered_json::array();
  for (std::size_t i = 0; i < diff.Runs.size() && i < RunsShown; ++i)
    runs.push_back({{"start", diff.Runs[i].Start}, {"length", diff.Runs[i].Length}});
  return {{"old", SideJson(diff.Old)},
          {"new", SideJson(diff.New)},
          {"same", diff.Same()},
          {"headerBytesDiffer", diff.HeaderBytesDiffer},
          {"recordsCompared", diff.RecordsCompared},
          {"espers", std::move(espers)},
          {"otherBytes",
           {{"byteCount", diff.RunBytes},
            {"runCount", diff.Runs.size()},
            {"runs", std::move(runs)},
            {"runsNotShown", diff.Runs.size() - std::min(diff.Runs.size(), RunsShown)}}}};
}

}  // namespace

int RunDiff(Streams& io, const DiffOptions& options) {
  ImageDiff diff;
  std::string error;
  if (!CompareImages(options.Older, options.Newer, diff, &error)) return Fail(io, error);
  if (options.Format == "json")
    // JSON escapes what a path holds; a path that is not UTF-8 gets U+FFFD where it is not.
    io.Out << DiffJson(diff).dump(2, ' ', false, ordered_json::error_handler_t::replace) << "\n";
  else
    PrintText(io.Out, diff);
  return ExitSuccess;
}

}  // namespace Cli
