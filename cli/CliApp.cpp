#include "cli/CliApp.h"

#include <CLI/CLI.hpp>

#include <climits>
#include <map>
#include <optional>

#include "cli/ToolCommandLine.h"

namespace Cli {

namespace {

// A value as written on the command line: decimal, or hex after "0x". Too large a number
// comes back as INT_MAX, so that the range check names it.
std::optional<int> ParseNumber(const std::string& text) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty()) return std::nullopt;
  long long value = 0;
  for (char c : digits) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    value = std::min<long long>(value * (hex ? 16 : 10) + digit, INT_MAX);
  }
  return static_cast<int>(value);
}

std::optional<int> ParseValueOrNone(const std::string& text) {
  if (text == "none") return 0xFF;
  return ParseNumber(text);
}

// "--rate 2=10" and "--spell 2=none": the pair, then the value, each pair once.
std::vector<std::pair<int, int>> ParsePairs(const char* flag, const std::vector<std::string>& items, bool noneAllowed) {
  std::vector<std::pair<int, int>> pairs;
  std::map<int, bool> seen;
  for (const std::string& item : items) {
    const auto equals = item.find('=');
    std::optional<int> pair = equals == std::string::npos ? std::nullopt : ParseNumber(item.substr(0, equals));
    std::optional<int> value;
    if (pair) value = noneAllowed ? ParseValueOrNone(item.substr(equals + 1)) : ParseNumber(item.substr(equals + 1));
    if (!pair || !value)
      throw CLI::ValidationError(flag, std::string("takes PAIR=") + (noneAllowed ? "SPELL|none" : "RATE") +
                                           " with whole numbers, as " + flag + (noneAllowed ? " 2=none" : " 2=10") +
                                           "; got \"" + item + "\"");
    if (seen[*pair]) throw CLI::ValidationError(flag, "names pair " + std::to_string(*pair) + " twice");
    seen[*pair] = true;
    pairs.emplace_back(*pair, *value);
  }
  return pairs;
}

// Everything the command line can say, as CLI11 fills it in.
struct CommandLine {
  std::string Image, Json, Format = "text";
  SaveOptions Save;
  bool Force = false;
  std::string Esper;
  std::vector<std::string> Rates, Spells;
  std::optional<std::string> Bonus;
  PictureRequest Picture;
  CLI::App *Info = nullptr, *Dump = nullptr, *Export = nullptr, *Import = nullptr, *Set = nullptr, *Shift = nullptr,
           *Pictures = nullptr;
};

void DeclareCommands(CLI::App& app, CommandLine& line) {
  app.name("tavero-cli");
  app.require_subcommand(1);
  app.footer(
      "Names print through a lossless transliteration: letters, digits and space for the codes\n"
      "the editor relies on, {XX} for every other byte. Exit status: 0 done, 1 the operation\n"
      "failed (nothing written), 2 the command line is wrong.");

  auto addImage = [&](CLI::App* command) {
    command->add_option("IMAGE", line.Image, "The ROM image (.smc, .sfc, .fig)")->required();
  };
  auto addOutput = [&](CLI::App* command) {
    command->add_option("--output,-o", line.Save.Output, "Write to a copy at NEW and leave IMAGE untouched")
        ->type_name("NEW");
    AddSaveOptions(command, line.Save);
  };

  line.Info = app.add_subcommand("info", "Length, header, probes, six-slot code patch and esper data layout");
  addImage(line.Info);

  line.Dump = app.add_subcommand("dump", "The 27 espers with their rates, spells and bonus");
  addImage(line.Dump);
  line.Dump->add_option("--format,-f", line.Format, "text, json or csv")
      ->check(CLI::IsMember({"text", "json", "csv"}))
      ->capture_default_str();

  line.Export = app.add_subcommand("export", "Write the esper table of a six-slot image to a JSON file");
  addImage(line.Export);
  line.Export->add_option("FILE", line.Json, "The JSON file to write (- for the standard output)")->required();

  line.Import = app.add_subcommand(
      "import", "Read the esper table from a JSON file (as export writes it) into a six-slot image and save it");
  addImage(line.Import);
  line.Import->add_option("FILE", line.Json, "The JSON file to read (- for the standard input)")->required();
  addOutput(line.Import);

  line.Set = app.add_subcommand("set", "Change one esper's rates, spells or bonus in a six-slot image and save it");
  addImage(line.Set);
  line.Set->add_option("--esper,-e", line.Esper, "The esper, 0..26")->required()->type_name("N");
  line.Set->add_option("--rate", line.Rates, "Pair K (1..6) learns at rate R (0..255); repeatable")
      ->type_name("K=R")
      ->allow_extra_args(false);
  line.Set->add_option("--spell", line.Spells, "Pair K teaches spell S (0..53) or none; repeatable")
      ->type_name("K=S|none")
      ->allow_extra_args(false);
  line.Set->add_option("--bonus", line.Bonus, "The level-up bonus, 0..254 or none")->type_name("B|none");
  addOutput(line.Set);

  line.Shift = app.add_subcommand(
      "shift", "As the editor's \"5->6\" after Load: patch the code for six slots, move the records, save");
  addImage(line.Shift);
  line.Shift->add_flag("--force", line.Force,
                       "Shift six-slot records all the same (they are moved as if they had five slots)");
  addOutput(line.Shift);

  line.Pictures = app.add_subcommand("picture", "Draw the font and palette sheets, or every name, as PNG");
  addImage(line.Pictures);
  line.Pictures->add_option("--glyphs", line.Picture.Glyphs, "The glyph sheet: the font in its three colour schemes")
      ->type_name("FILE.png");
  line.Pictures->add_option("--palettes", line.Picture.Palettes, "The palette sheet: 2048 colour swatches")
      ->type_name("FILE.png");
  line.Pictures->add_option("--names", line.Picture.Names, "Every esper, spell and bonus name in the image's font")
      ->type_name("FILE.png");
  line.Pictures->add_option("--scale", line.Picture.Scale, "Pixels per image pixel, 1..16")
      ->check(CLI::Range(1, 16))
      ->capture_default_str();
}

// CLI11 would only say that a command is required.
void RefuseUnknownCommand(CLI::App& app, const std::vector<std::string>& args) {
  if (args.size() < 2 || args[1].empty() || args[1][0] == '-') return;
  std::string names;
  const std::vector<CLI::App*> commands = app.get_subcommands({});
  for (std::size_t i = 0; i < commands.size(); ++i) {
    if (commands[i]->get_name() == args[1]) return;
    names.append(i == 0 ? "" : i + 1 == commands.size() ? " and " : ", ").append(commands[i]->get_name());
  }
  throw CLI::ValidationError("unknown command \"" + args[1] + "\"; the commands are " + names);
}

// The set request as written; its values are checked against the image later.
SetRequest CheckSetRequest(const CommandLine& line) {
  SetRequest request;
  std::optional<int> number = ParseNumber(line.Esper);
  if (!number) throw CLI::ValidationError("--esper", "takes a whole number 0..26; got \"" + line.Esper + "\"");
  request.Esper = *number;
  request.Rates = ParsePairs("--rate", line.Rates, false);
  request.Spells = ParsePairs("--spell", line.Spells, true);
  if (line.Bonus) {
    request.Bonus = ParseValueOrNone(*line.Bonus);
    if (!request.Bonus)
      throw CLI::ValidationError("--bonus", "takes a whole number 0..254 or none; got \"" + *line.Bonus + "\"");
  }
  if (line.Rates.empty() && line.Spells.empty() && !line.Bonus)
    throw CLI::ValidationError("set", "give at least one of --rate, --spell, --bonus");
  return request;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, Streams& io) {
  CLI::App app{
      "tavero-cli: read and edit the esper records of a ROM image from the command line,\n"
      "with the editor's own load, save and five-to-six code."};
  CommandLine line;
  DeclareCommands(app, line);
  ToolCommandLine tools(app);

  SetRequest request;
  try {
    RefuseUnknownCommand(app, args);
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    app.parse(static_cast<int>(argv.size()), argv.data());
    if (*line.Set) request = CheckSetRequest(line);
    tools.Check(line.Save);
    const PictureRequest& picture = line.Picture;
    if (*line.Pictures && !picture.Glyphs && !picture.Palettes && !picture.Names)
      throw CLI::ValidationError("picture", "give at least one of --glyphs, --palettes, --names");
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e, io.Out, io.Err);
    return status == 0 ? ExitSuccess : ExitUsage;
  }

  if (*line.Info) return RunInfo(io, line.Image);
  if (*line.Dump)
    return RunDump(io, line.Image,
                   line.Format == "json"  ? DumpFormat::Json
                   : line.Format == "csv" ? DumpFormat::Csv
                                          : DumpFormat::Text);
  if (*line.Export) return RunExport(io, line.Image, line.Json);
  if (*line.Import) return RunImport(io, line.Image, line.Json, line.Save);
  if (*line.Set) return RunSet(io, line.Image, request, line.Save);
  if (*line.Shift) return RunShift(io, line.Image, line.Force, line.Save);
  if (std::optional<int> status = tools.Run(io)) return *status;
  return RunPicture(io, line.Image, line.Picture);
}

}  // namespace Cli
