// tavero-cli's entry point where arguments arrive as UTF-8 already.

#include <iostream>

#include "cli/CliApp.h"

int main(int argc, char** argv) {
  Cli::Streams io{std::cin, std::cout, std::cerr};
  return Cli::RunCli(std::vector<std::string>(argv, argv + argc), io);
}
