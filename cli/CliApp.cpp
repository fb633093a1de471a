#include "cli/CliApp.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <new>
#include <utility>

#include "cli/CommandSupport.h"
#include "cli/CommandTable.h"
#include "cli/DescriptorBuffer.h"
#include "cli/Printable.h"
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

// The files the command line gave the command, for a failure nothing else has named.
std::string FilesOf(const CLI::App& subcommand) {
  std::string files;
  for (const CLI::Option* option : subcommand.get_options())
    if (option->get_positional())
      for (const std::string& value : option->results()) files.append(" ").append(Printable(value));
  return files;
}

// Runs the command; any exception is its failure, named with its files, never an abort.
int RunGuarded(Streams& io, const DeclaredCommand& command, const CLI::App& subcommand) {
  std::string why;
  try {
    return command.Run(io);
  } catch (const std::bad_alloc&) {
    why = "not enough memory";
  } catch (const std::exception& e) {
    why = Printable(e.what());
  } catch (...) {
    why = "an unexpected failure";
  }
  return Fail(io, "Could not " + subcommand.get_name() + FilesOf(subcommand) + ":\n" + why + ".");
}

// What was printed is the result: output that did not all arrive is a failure, whatever the
// command made of it.
int Delivered(Streams& io, int status) {
  if (io.Out.flush()) return status;
  return Fail(io, "could not write the standard output: " + WhyNotWritten(io.Out));
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
      "the editor relies on, {XX} for every other byte. Exit status: 0 done; 1 the operation\n"
      "failed (nothing written) or the standard output could not be written; 2 the command\n"
      "line is wrong; 3 checksum found the stored sum stale (and was not asked to --fix it).");

  std::vector<std::pair<const CLI::App*, DeclaredCommand>> declared;
  for (const Command& command : Commands()) {
    CLI::App* subcommand = app.add_subcommand(command.Name, command.Summary);
    declared.emplace_back(subcommand, command.Declare(*subcommand));
  }

  const DeclaredCommand* chosen = nullptr;
  const CLI::App* parsed = nullptr;
  try {
    RefuseUnknownCommand(app, args);
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    app.parse(static_cast<int>(argv.size()), argv.data());
    for (const auto& [subcommand, command] : declared)
      if (subcommand->parsed()) std::tie(parsed, chosen) = std::pair(subcommand, &command);
    // Never success for a command line that runs nothing.
    if (!chosen) throw CLI::ValidationError("no command to run; the commands are listed under --help");
    chosen->Check();
  } catch (const CLI::ParseError& e) {
    return Delivered(io, app.exit(e, io.Out, io.Err) == 0 ? ExitSuccess : ExitUsage);
  }
  return Delivered(io, RunGuarded(io, *chosen, *parsed));
}

}  // namespace Cli
