#pragma once
// tavero-cli's commands in one table: each one's name, summary, options, checks and run. The
// command line is declared from the table and dispatched through it, so no command can be
// declared and not run.

#include <CLI/CLI.hpp>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/Commands.h"

namespace Cli {

// Everything the command line can say, as CLI11 fills it in; each command reads its part.
struct CommandLine {
  std::string Image, Json, Format = "text";
  SaveOptions Save;
  bool Force = false;
  std::string Esper;
  std::vector<std::string> Rates, Spells;
  std::optional<std::string> Bonus;
  SetRequest Set;  // made from Esper, Rates, Spells and Bonus by set's check
  PictureRequest Picture;
  std::string Original, Edited, PatchFile, Older, Newer;
  bool Ips = false;  // patch's own --ips
  bool Fix = false;
  std::optional<std::string> Output;  // checksum's --output
};

struct Command {
  const char* Name;
  const char* Summary;
  // Declares the command's arguments and options on its subcommand, bound to line.
  void (*Declare)(CLI::App& command, CommandLine& line);
  // After parsing, when given: throws CLI::ValidationError for a request that cannot be meant.
  void (*Check)(CommandLine& line);
  int (*Run)(Streams& io, const CommandLine& line);
};

// In the order --help lists them.
std::span<const Command> Commands();

}  // namespace Cli
