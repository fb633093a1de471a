// tavero-cli's entry point where arguments arrive as UTF-8 already.

#include <unistd.h>

#include <iostream>

#include "cli/CliApp.h"
#include "cli/DescriptorBuffer.h"
#include "cli/Interruption.h"

int main(int argc, char** argv) {
  Cli::RemoveTemporariesWhenStopped();
  Cli::DescriptorBuffer standardOutput(STDOUT_FILENO);
  std::ostream out(&standardOutput);
  Cli::Streams io{std::cin, out, std::cerr};
  return Cli::RunCli(std::vector<std::string>(argv, argv + argc), io);
}
