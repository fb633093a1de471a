#pragma once
// The command line: subcommands and flags (CLI11), then the command that runs them.

#include <string>
#include <vector>

#include "cli/Commands.h"

namespace Cli {

// args[0] is the program's name; arguments are UTF-8. Help goes to Out, mistakes in the
// command line to Err with exit status 2.
int RunCli(const std::vector<std::string>& args, Streams& io);

}  // namespace Cli
