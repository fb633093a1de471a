#include "cli/ToolCommandLine.h"

#include <algorithm>
#include <cctype>

namespace Cli {

namespace {

bool EndsWith(const std::string& path, const char* extension) {
  std::string tail = path.substr(path.size() - std::min(path.size(), std::char_traits<char>::length(extension)));
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == extension;
}

// A patch tool goes by the name: a BPS file named .ips (or the other way round) would be
// refused by the tool it is meant for.
void CheckPatchName(const char* option, const std::string& path, bool ips) {
  if (!ips && EndsWith(path, ".ips"))
    throw CLI::ValidationError(option, path + " is named .ips: give --ips for an IPS patch (BPS is the default)");
  if (ips && EndsWith(path, ".bps"))
    throw CLI::ValidationError(option, path + " is named .bps, but --ips writes an IPS patch");
}

}  // namespace

void AddSaveOptions(CLI::App* command, SaveOptions& save) {
  CLI::Option* patch =
      command
          ->add_option("--patch", save.Patch,
                       "Write a patch (BPS) from IMAGE to what the save would write, and leave IMAGE untouched")
          ->type_name("OUT")
          ->excludes(command->get_option("--output"));
  command->add_flag("--ips", save.Ips, "With --patch: an IPS patch instead of BPS")->needs(patch);
  command->add_flag("--fix-checksum", save.FixChecksum, "Store the right internal checksum in what is written");
}

ToolCommandLine::ToolCommandLine(CLI::App& app) {
  Patch =
      app.add_subcommand("patch", "Write a BPS (or IPS) patch from ORIGINAL to EDITED; a copier header is left out");
  Patch->add_option("ORIGINAL", Original, "The image before the edit")->required();
  Patch->add_option("EDITED", Edited, "The image after it, of the same length")->required();
  Patch->add_option("OUT", PatchFile, "The patch to write")->required();
  Patch->add_flag("--ips", Ips, "An IPS patch instead of BPS");

  Checksum = app.add_subcommand("checksum", "Check the internal checksum of a HiROM image, or fix it");
  Checksum->add_option("IMAGE", Image, "The ROM image")->required();
  CLI::Option* fix = Checksum->add_flag("--fix", Fix, "Store the right checksum and its complement");
  Checksum->add_option("--output,-o", Output, "With --fix: write to a copy at NEW and leave IMAGE untouched")
      ->type_name("NEW")
      ->needs(fix);

  Diff = app.add_subcommand("diff", "What differs between two images: esper fields by name, then other bytes");
  Diff->add_option("OLD", Older, "The image before")->required();
  Diff->add_option("NEW", Newer, "The image after")->required();
  Diff->add_option("--format,-f", Format, "text or json")
      ->check(CLI::IsMember({"text", "json"}))
      ->capture_default_str();
}

void ToolCommandLine::Check(const SaveOptions& save) const {
  if (save.Patch) CheckPatchName("--patch", *save.Patch, save.Ips);
  if (*Patch) CheckPatchName("OUT", PatchFile, Ips);
}

std::optional<int> ToolCommandLine::Run(Streams& io) const {
  if (*Patch) return RunPatch(io, Original, Edited, PatchFile, Ips);
  if (*Checksum) return RunChecksum(io, Image, Fix, Output);
  if (*Diff) return RunDiff(io, Older, Newer, Format == "json" ? DiffFormat::Json : DiffFormat::Text);
  return std::nullopt;
}

}  // namespace Cli
