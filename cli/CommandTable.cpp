#include "cli/CommandTable.h"

#include <algorithm>
#include <array>

#include "cli/ArgumentValues.h"
#include "cli/Printable.h"

namespace Cli {

namespace {

void AddImage(CLI::App& command, CommandLine& line) {
  command.add_option("IMAGE", line.Image, "The ROM image (.smc, .sfc, .fig)")->required();
}

// --output, then what every command that writes an image has besides: --patch, --ips and
// --fix-checksum.
void AddSaveOptions(CLI::App& command, CommandLine& line) {
  SaveOptions& save = line.Save;
  CLI::Option* output =
      command.add_option("--output,-o", save.Output, "Write to a copy at NEW and leave IMAGE untouched")
          ->type_name("NEW");
  CLI::Option* patch =
      command
          .add_option("--patch", save.Patch,
                      "Write a patch (BPS) from IMAGE to what the save would write, and leave IMAGE untouched")
          ->type_name("OUT")
          ->excludes(output);
  command.add_flag("--ips", save.Ips, "With --patch: an IPS patch instead of BPS")->needs(patch);
  command.add_flag("--fix-checksum", save.FixChecksum, "Store the right internal checksum in what is written");
}

void CheckSaveOptions(CommandLine& line) {
  if (line.Save.Patch) CheckPatchName("--patch", *line.Save.Patch, line.Save.Ips);
}

void DeclareInfo(CLI::App& command, CommandLine& line) { AddImage(command, line); }

void DeclareDump(CLI::App& command, CommandLine& line) {
  AddImage(command, line);
  command.add_option("--format,-f", line.Format, "text, json or csv")
      ->check(CLI::IsMember({"text", "json", "csv"}))
      ->capture_default_str();
}

int RunDumpCommand(Streams& io, const CommandLine& line) {
  const DumpFormat format = line.Format == "json"  ? DumpFormat::Json
                            : line.Format == "csv" ? DumpFormat::Csv
                                                   : DumpFormat::Text;
  return RunDump(io, line.Image, format);
}

void DeclareExport(CLI::App& command, CommandLine& line) {
  AddImage(command, line);
  command.add_option("FILE", line.Json, "The JSON file to write (- for the standard output)")->required();
}

void DeclareImport(CLI::App& command, CommandLine& line) {
  AddImage(command, line);
  command.add_option("FILE", line.Json, "The JSON file to read (- for the standard input)")->required();
  AddSaveOptions(command, line);
}

void DeclareSet(CLI::App& command, CommandLine& line) {
  AddImage(command, line);
  command.add_option("--esper,-e", line.Esper, "The esper, 0..26")->required()->type_name("N");
  command.add_option("--rate", line.Rates, "Pair K (1..6) learns at rate R (0..255); repeatable")
      ->type_name("K=R")
      ->allow_extra_args(false);
  command.add_option("--spell", line.Spells, "Pair K teaches spell S (0..53) or none; repeatable")
      ->type_name("K=S|none")
      ->allow_extra_args(false);
  command.add_option("--bonus", line.Bonus, "The level-up bonus, 0..254 or none")->type_name("B|none");
  AddSaveOptions(command, line);
}

// The set request as written; its values are checked against the image later.
void CheckSet(CommandLine& line) {
  SetRequest& request = line.Set;
  std::optional<int> number = ParseNumber(line.Esper);
  if (!number)
    throw CLI::ValidationError("--esper", "takes a whole number 0..26; got \"" + Printable(line.Esper) + "\"");
  request.Esper = *number;
  request.EsperTyped = line.Esper;
  request.Rates = ParsePairs("--rate", line.Rates, false);
  request.Spells = ParsePairs("--spell", line.Spells, true);
  if (line.Bonus) {
    request.Bonus = ParseValueOrNone(*line.Bonus);
    request.BonusTyped = *line.Bonus;
    if (!request.Bonus)
      throw CLI::ValidationError("--bonus",
                                 "takes a whole number 0..254 or none; got \"" + Printable(*line.Bonus) + "\"");
  }
  if (line.Rates.empty() && line.Spells.empty() && !line.Bonus)
    throw CLI::ValidationError("set", "give at least one of --rate, --spell, --bonus");
  CheckSaveOptions(line);
}

void DeclareShift(CLI::App& command, CommandLine& line) {
  AddImage(command, line);
  command.add_flag("--force", line.Force,
                   "Shift six-slot records all the same (they are moved as if they had five slots)");
  AddSaveOptions(command, line);
}

void DeclarePicture(CLI::App& command, CommandLine& line) {
  AddImage(command, line);
  PictureRequest& picture = line.Picture;
  command.add_option("--glyphs", picture.Glyphs, "The glyph sheet: the font in its three colour schemes")
      ->type_name("FILE.png");
  command.add_option("--palettes", picture.Palettes, "The palette sheet: 2048 colour swatches")->type_name("FILE.png");
  command.add_option("--names", picture.Names, "Every esper, spell and bonus name in the image's font")
      ->type_name("FILE.png");
  command.add_option("--scale", picture.Scale, "Pixels per image pixel, 1..16")
      ->check(CLI::Range(1, 16))
      ->capture_default_str();
}

void CheckPicture(CommandLine& line) {
  const PictureRequest& picture = line.Picture;
  if (!picture.Glyphs && !picture.Palettes && !picture.Names)
    throw CLI::ValidationError("picture", "give at least one of --glyphs, --palettes, --names");
}

void DeclarePatch(CLI::App& command, CommandLine& line) {
  command.add_option("ORIGINAL", line.Original, "The image before the edit")->required();
  command.add_option("EDITED", line.Edited, "The image after it, of the same length")->required();
  command.add_option("OUT", line.PatchFile, "The patch to write")->required();
  command.add_flag("--ips", line.Ips, "An IPS patch instead of BPS");
}

void DeclareChecksum(CLI::App& command, CommandLine& line) {
  command.add_option("IMAGE", line.Image, "The ROM image")->required();
  CLI::Option* fix = command.add_flag("--fix", line.Fix, "Store the right checksum and its complement");
  command.add_option("--output,-o", line.Output, "With --fix: write to a copy at NEW and leave IMAGE untouched")
      ->type_name("NEW")
      ->needs(fix);
}

void DeclareDiff(CLI::App& command, CommandLine& line) {
  command.add_option("OLD", line.Older, "The image before")->required();
  command.add_option("NEW", line.Newer, "The image after")->required();
  command.add_option("--format,-f", line.Format, "text or json")
      ->check(CLI::IsMember({"text", "json"}))
      ->capture_default_str();
}

constexpr std::array<Command, 10> Table{{
    {"info", "Length, header, probes, six-slot code patch and esper data layout", DeclareInfo, nullptr,
     [](Streams& io, const CommandLine& line) { return RunInfo(io, line.Image); }},
    {"dump", "The 27 espers with their rates, spells and bonus", DeclareDump, nullptr, RunDumpCommand},
    {"export", "Write the esper table of a six-slot image to a JSON file", DeclareExport, nullptr,
     [](Streams& io, const CommandLine& line) { return RunExport(io, line.Image, line.Json); }},
    {"import", "Read the esper table from a JSON file (as export writes it) into a six-slot image and save it",
     DeclareImport, CheckSaveOptions,
     [](Streams& io, const CommandLine& line) { return RunImport(io, line.Image, line.Json, line.Save); }},
    {"set", "Change one esper's rates, spells or bonus in a six-slot image and save it", DeclareSet, CheckSet,
     [](Streams& io, const CommandLine& line) { return RunSet(io, line.Image, line.Set, line.Save); }},
    {"shift", "As the editor's \"5->6\" after Load: patch the code for six slots, move the records, save", DeclareShift,
     CheckSaveOptions,
     [](Streams& io, const CommandLine& line) { return RunShift(io, line.Image, line.Force, line.Save); }},
    {"picture", "Draw the font and palette sheets, or every name, as PNG", DeclarePicture, CheckPicture,
     [](Streams& io, const CommandLine& line) { return RunPicture(io, line.Image, line.Picture); }},
    {"patch", "Write a BPS (or IPS) patch from ORIGINAL to EDITED; a copier header is left out", DeclarePatch,
     [](CommandLine& line) { CheckPatchName("OUT", line.PatchFile, line.Ips); },
     [](Streams& io, const CommandLine& line) {
       return RunPatch(io, line.Original, line.Edited, line.PatchFile, line.Ips);
     }},
    {"checksum", "Check the internal checksum of a HiROM image, or fix it", DeclareChecksum, nullptr,
     [](Streams& io, const CommandLine& line) { return RunChecksum(io, line.Image, line.Fix, line.Output); }},
    {"diff", "What differs between two images: esper fields by name, then other bytes", DeclareDiff, nullptr,
     [](Streams& io, const CommandLine& line) {
       return RunDiff(io, line.Older, line.Newer, line.Format == "json" ? DiffFormat::Json : DiffFormat::Text);
     }},
}};

static_assert(std::ranges::all_of(Table, [](const Command& command) { return command.Declare && command.Run; }),
              "every command is declared and run");

}  // namespace

std::span<const Command> Commands() { return Table; }

}  // namespace Cli
