#include "cli/CommandTable.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>

#include "cli/ArgumentValues.h"
#include "cli/Printable.h"

namespace Cli {

namespace {

void AddImage(CLI::App& command, std::string& image) {
  command.add_option("IMAGE", image, "The ROM image (.smc, .sfc, .fig)")->required();
}

// --output, then what every command that writes an image has besides: --patch, --ips and
// --fix-checksum.
void AddSaveOptions(CLI::App& command, SaveOptions& save) {
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

void CheckSaveOptions(SaveOptions& save) {
  if (save.Patch) CheckPatchName("--patch", *save.Patch, save.Ips);
}

// A command's options, made for this command line, bound to its declaration, check and run.
template <class Options>
DeclaredCommand Bind(CLI::App& command, void (*declare)(CLI::App&, Options&), void (*check)(Options&),
                     int (*run)(Streams&, const Options&)) {
  auto options = std::make_shared<Options>();
  declare(command, *options);
  return {[options, check] {
            if (check) check(*options);
          },
          [options, run](Streams& io) { return run(io, *options); }};
}

void DeclareInfo(CLI::App& command, InfoOptions& options) { AddImage(command, options.Image); }

void DeclareDump(CLI::App& command, DumpOptions& options) {
  AddImage(command, options.Image);
  command.add_option("--format,-f", options.Format, "text, json or csv")
      ->check(CLI::IsMember({"text", "json", "csv"}))
      ->capture_default_str();
}

void DeclareExport(CLI::App& command, ExportOptions& options) {
  AddImage(command, options.Image);
  command.add_option("FILE", options.Json, "The JSON file to write (- for the standard output)")->required();
}

void DeclareImport(CLI::App& command, ImportOptions& options) {
  AddImage(command, options.Image);
  command.add_option("FILE", options.Json, "The JSON file to read (- for the standard input)")->required();
  AddSaveOptions(command, options.Save);
}

void CheckImport(ImportOptions& options) { CheckSaveOptions(options.Save); }

// "0..53", "0..254 or none": a field's own values.
std::string Values(const EsperField& field) {
  return "0.." + std::to_string(field.Highest) + (field.NoneAllowed ? " or none" : "");
}

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// An option for each field: "--rate K=R", repeatable, for a field in each pair; "--bonus B"
// for a field of the record.
void DeclareSet(CLI::App& command, SetOptions& options) {
  AddImage(command, options.Image);
  command.add_option("--esper,-e", options.Esper, "The esper, 0.." + std::to_string(RomLayout::EsperCount - 1))
      ->required()
      ->type_name("N");
  for (std::size_t f = 0; f < EsperFields.size(); ++f) {
    const EsperField& field = *EsperFields[f];
    const std::string value = std::string(1, field.Letter) + (field.NoneAllowed ? "|none" : "");
    const std::string name = std::string("--") + field.Name;
    if (field.InPair)
      command
          .add_option(name, options.Given[f],
                      "Pair K (1.." + std::to_string(PairCount) + ") " + field.Help + " " + field.Letter + " (0.." +
                          std::to_string(field.Highest) + ")" + (field.NoneAllowed ? " or none" : "") + "; repeatable")
          ->type_name("K=" + value)
          ->allow_extra_args(false);
    else
      command.add_option(name, options.Given[f], std::string(field.Help) + ", " + Values(field))
          ->type_name(value)
          ->expected(1);
  }
  AddSaveOptions(command, options.Save);
}

// The set request as written; its values are checked against the image later.
void CheckSet(SetOptions& options) {
  SetRequest& request = options.Request;
  std::optional<int> number = ParseNumber(options.Esper);
  if (!number)
    throw CLI::ValidationError("--esper", "takes a whole number 0.." + std::to_string(RomLayout::EsperCount - 1) +
                                              "; got \"" + Printable(options.Esper) + "\"");
  request.Esper = *number;
  request.EsperTyped = options.Esper;
  std::string names;
  for (std::size_t f = 0; f < EsperFields.size(); ++f) {
    const EsperField& field = *EsperFields[f];
    const std::string option = std::string("--") + field.Name;
    names.append(f == 0 ? "" : ", ").append(option);
    if (field.InPair) {
      for (FieldEdit& edit :
           ParsePairs(option.c_str(), options.Given[f], field.NoneAllowed, UpperCase(field.Name).c_str())) {
        edit.Field = &field;
        request.Edits.push_back(std::move(edit));
      }
      continue;
    }
    for (const std::string& typed : options.Given[f]) {
      const std::optional<int> value = field.NoneAllowed ? ParseValueOrNone(typed) : ParseNumber(typed);
      if (!value)
        throw CLI::ValidationError(option,
                                   "takes a whole number " + Values(field) + "; got \"" + Printable(typed) + "\"");
      request.Edits.push_back({&field, 0, *value, typed});
    }
  }
  if (request.Edits.empty()) throw CLI::ValidationError("set", "give at least one of " + names);
  CheckSaveOptions(options.Save);
}

void DeclareShift(CLI::App& command, ShiftOptions& options) {
  AddImage(command, options.Image);
  command.add_flag("--force", options.Force,
                   "Shift six-slot records all the same (they are moved as if they had five slots)");
  AddSaveOptions(command, options.Save);
}

void CheckShift(ShiftOptions& options) { CheckSaveOptions(options.Save); }

void DeclarePicture(CLI::App& command, PictureOptions& options) {
  AddImage(command, options.Image);
  command.add_option("--glyphs", options.Glyphs, "The glyph sheet: the font in its three colour schemes")
      ->type_name("FILE.png");
  command.add_option("--palettes", options.Palettes, "The palette sheet: 2048 colour swatches")->type_name("FILE.png");
  command.add_option("--names", options.Names, "Every esper, spell and bonus name in the image's font")
      ->type_name("FILE.png");
  command.add_option("--scale", options.Scale, "Pixels per image pixel, 1..16")
      ->check(CLI::Range(1, 16))
      ->capture_default_str();
}

void CheckPicture(PictureOptions& options) {
  if (!options.Glyphs && !options.Palettes && !options.Names)
    throw CLI::ValidationError("picture", "give at least one of --glyphs, --palettes, --names");
}

void DeclarePatch(CLI::App& command, PatchOptions& options) {
  command.add_option("ORIGINAL", options.Original, "The image before the edit")->required();
  command.add_option("EDITED", options.Edited, "The image after it, of the same length")->required();
  command.add_option("OUT", options.Out, "The patch to write")->required();
  command.add_flag("--ips", options.Ips, "An IPS patch instead of BPS");
}

void CheckPatch(PatchOptions& options) { CheckPatchName("OUT", options.Out, options.Ips); }

void DeclareChecksum(CLI::App& command, ChecksumOptions& options) {
  command.add_option("IMAGE", options.Image, "The ROM image")->required();
  CLI::Option* fix = command.add_flag("--fix", options.Fix, "Store the right checksum and its complement");
  command
      .add_option("--output,-o", options.Save.Output, "With --fix: write to a copy at NEW and leave IMAGE untouched")
      ->type_name("NEW")
      ->needs(fix);
}

void DeclareDiff(CLI::App& command, DiffOptions& options) {
  command.add_option("OLD", options.Older, "The image before")->required();
  command.add_option("NEW", options.Newer, "The image after")->required();
  command.add_option("--format,-f", options.Format, "text or json")
      ->check(CLI::IsMember({"text", "json"}))
      ->capture_default_str();
}

constexpr std::array<Command, 10> Table{{
    {"info", "Length, header, probes, six-slot code patch and esper data layout",
     [](CLI::App& c) { return Bind<InfoOptions>(c, DeclareInfo, nullptr, RunInfo); }},
    {"dump", "The 27 espers with their rates, spells and bonus",
     [](CLI::App& c) { return Bind<DumpOptions>(c, DeclareDump, nullptr, RunDump); }},
    {"export", "Write the esper table of a six-slot image to a JSON file",
     [](CLI::App& c) { return Bind<ExportOptions>(c, DeclareExport, nullptr, RunExport); }},
    {"import", "Read the esper table from a JSON file (as export writes it) into a six-slot image and save it",
     [](CLI::App& c) { return Bind<ImportOptions>(c, DeclareImport, CheckImport, RunImport); }},
    {"set", "Change one esper's rates, spells or bonus in a six-slot image and save it",
     [](CLI::App& c) { return Bind<SetOptions>(c, DeclareSet, CheckSet, RunSet); }},
    {"shift", "As the editor's \"5->6\" after Load: patch the code for six slots, move the records, save",
     [](CLI::App& c) { return Bind<ShiftOptions>(c, DeclareShift, CheckShift, RunShift); }},
    {"picture", "Draw the font and palette sheets, or every name, as PNG",
     [](CLI::App& c) { return Bind<PictureOptions>(c, DeclarePicture, CheckPicture, RunPicture); }},
    {"patch", "Write a BPS (or IPS) patch from ORIGINAL to EDITED; a copier header is left out",
     [](CLI::App& c) { return Bind<PatchOptions>(c, DeclarePatch, CheckPatch, RunPatch); }},
    {"checksum", "Check the internal checksum of a HiROM image, or fix it",
     [](CLI::App& c) { return Bind<ChecksumOptions>(c, DeclareChecksum, nullptr, RunChecksum); }},
    {"diff", "What differs between two images: esper fields by name, then other bytes",
     [](CLI::App& c) { return Bind<DiffOptions>(c, DeclareDiff, nullptr, RunDiff); }},
}};

static_assert(std::ranges::all_of(Table, [](const Command& command) { return command.Declare != nullptr; }),
              "every command is declared");

}  // namespace

std::span<const Command> Commands() { return Table; }

}  // namespace Cli
