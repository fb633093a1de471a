#include "cli/CliApp.h"

#include <CLI/CLI.hpp>
#include <utility>

#include "cli/CommandTable.h"
#include "version.h"

namespace Cli {

namespace {

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

}  // namespace

int RunCli(const std::vector<std::string>& args, Streams& io) {
  CLI::App app{
      "tavero-cli: read and edit the esper records of a ROM image from the command line,\n"
      "with the editor's own load, save and five-to-six code."};
  app.name("tavero-cli");
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("tavero-cli ") + TAVERO_VERSION, "Print the version and exit");
  app.footer(
      "Names print through a lossless transliteration: letters, digits and space for the codes\n"
      "the editor relies on, {XX} for every other byte. Exit status: 0 done, 1 the operation\n"
      "failed (nothing written), 2 the command line is wrong.");

  CommandLine line;
  std::vector<std::pair<const CLI::App*, const Command*>> declared;
  for (const Command& command : Commands()) {
    CLI::App* subcommand = app.add_subcommand(command.Name, command.Summary);
    command.Declare(*subcommand, line);
    declared.emplace_back(subcommand, &command);
  }

  const Command* chosen = nullptr;
  try {
    RefuseUnknownCommand(app, args);
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    app.parse(static_cast<int>(argv.size()), argv.data());
    for (const auto& [subcommand, command] : declared)
      if (subcommand->parsed()) chosen = command;
    // Never success for a command line that runs nothing.
    if (!chosen) throw CLI::ValidationError("no command to run; the commands are listed under --help");
    if (chosen->Check) chosen->Check(line);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e, io.Out, io.Err);
    return status == 0 ? ExitSuccess : ExitUsage;
  }
  return chosen->Run(io, line);
}

}  // namespace Cli
