#pragma once
// tavero-cli's commands in one table: each one's name, summary, and how its options are
// declared, checked and run. Each command has its own options (Commands.h), made afresh for a
// command line. The command line is declared from the table and dispatched through it, so no
// command can be declared and not run.

#include <CLI/CLI.hpp>
#include <functional>
#include <span>

#include "cli/Commands.h"

namespace Cli {

// A command declared on its subcommand: its options live as long as these functions.
struct DeclaredCommand {
  // After parsing: throws CLI::ValidationError for a request that cannot be meant.
  std::function<void()> Check;
  std::function<int(Streams&)> Run;
};

struct Command {
  const char* Name;
  const char* Summary;
  // Declares the command's arguments and options on its subcommand, bound to options of its own.
  DeclaredCommand (*Declare)(CLI::App& command);
};

// In the order --help lists them.
std::span<const Command> Commands();

}  // namespace Cli
