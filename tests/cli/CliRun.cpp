#include "CliRun.h"

#include <sys/wait.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cli/CliApp.h"
#include "rom/RomLayout.h"

CliResult RunCli(const std::vector<std::string>& args, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out, err;
  Cli::Streams io{in, out, err};
  std::vector<std::string> all{"tavero-cli"};
  all.insert(all.end(), args.begin(), args.end());
  CliResult result;
  result.Status = Cli::RunCli(all, io);
  result.Out = out.str();
  result.Err = err.str();
  return result;
}

namespace {
std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}
std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}
}  // namespace

CliResult RunProgram(const TempDir& dir, const std::vector<std::string>& args, const std::string& standardOutput) {
  std::string command = ShellQuoted(TAVERO_CLI_PROGRAM);
  for (const std::string& arg : args) command += " " + ShellQuoted(arg);
  std::filesystem::remove(dir.PathOf("program.out"));
  command += " </dev/null >" + ShellQuoted(standardOutput.empty() ? dir.PathOf("program.out") : standardOutput) +
             " 2>" + ShellQuoted(dir.PathOf("program.err"));
  CliResult result;
  const int status = std::system(command.c_str());
  result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.Out = ReadText(dir.PathOf("program.out"));
  result.Err = ReadText(dir.PathOf("program.err"));
  return result;
}

std::string ReadableName(const std::string& printed) {
  std::string name;
  for (const char c : printed) {
    if (std::isalnum(static_cast<unsigned char>(c)))
      name.push_back(c);
    else if (!name.empty() && name.back() != '_')
      name.push_back('_');
  }
  while (!name.empty() && name.back() == '_') name.pop_back();
  return name;
}

SampleImage::Options SampleOptions(bool sixSlot, bool header, int variant) {
  SampleImage::Options options;
  options.Records = sixSlot ? SampleImage::Layout::SixSlot : SampleImage::Layout::FiveSlot;
  options.Header = header;
  options.Variant = variant;
  return options;
}

Bytes Sample(bool sixSlot, bool header, int variant) {
  return SampleImage::Make(SampleOptions(sixSlot, header, variant));
}

std::size_t SlotOffset(bool header, int esper, int slot) {
  return (header ? 0x200 : 0) + RomLayout::EsperDataBlock + static_cast<std::size_t>(13 * esper + slot);
}
