#pragma once
// The command line of patch, checksum and diff, and the options that every command that
// writes an image has besides --output: --patch, --ips and --fix-checksum.

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

#include "cli/Commands.h"

namespace Cli {

// On a command that already has --output.
void AddSaveOptions(CLI::App* command, SaveOptions& save);

class ToolCommandLine {
 public:
  // Declares the three commands on app, which must outlive this.
  explicit ToolCommandLine(CLI::App& app);
  ToolCommandLine(const ToolCommandLine&) = delete;
  ToolCommandLine& operator=(const ToolCommandLine&) = delete;

  // After parsing: throws CLI::ValidationError for a request that cannot be meant, such as a
  // patch named .ips written as BPS.
  void Check(const SaveOptions& save) const;

  // Runs the command given when it is one of the three.
  std::optional<int> Run(Streams& io) const;

 private:
  CLI::App* Patch = nullptr;
  CLI::App* Checksum = nullptr;
  CLI::App* Diff = nullptr;
  std::string Original, Edited, PatchFile, Image, Older, Newer, Format = "text";
  std::optional<std::string> Output;
  bool Ips = false;
  bool Fix = false;
};

}  // namespace Cli
