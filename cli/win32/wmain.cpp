// tavero-cli's entry point on Windows: the wide arguments, as UTF-8 (main's narrow ones
// would be in the ANSI code page and lose every other character).

#include <filesystem>
#include <iostream>

#include "cli/CliApp.h"
#include "cli/DescriptorBuffer.h"
#include "cli/Interruption.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) {
    const std::u8string utf8 = std::filesystem::path(argv[i]).u8string();
    args.emplace_back(utf8.begin(), utf8.end());
  }
  Cli::RemoveTemporariesWhenStopped();
  Cli::DescriptorBuffer standardOutput(1);  // the CRT's descriptor, in its text mode as std::cout was
  std::ostream out(&standardOutput);
  Cli::Streams io{std::cin, out, std::cerr};
  return Cli::RunCli(args, io);
}
