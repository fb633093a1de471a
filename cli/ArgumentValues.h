#pragma once
// Values on tavero-cli's command line that CLI11 cannot check alone. Each throws
// CLI::ValidationError, naming the option, for a value that cannot be meant.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/Commands.h"

namespace Cli {

// A value as written on the command line: decimal, or hex after "0x". Too large a number
// comes back as INT_MAX, for the range check to refuse (echoing the text as typed); not a
// number gives none.
std::optional<int> ParseNumber(const std::string& text);
// A number, or "none" for 0xFF.
std::optional<int> ParseValueOrNone(const std::string& text);

// "--rate 2=10" and "--spell 2=none": the pair, then the value, each pair once; word names
// the value in a message ("RATE"). The edits come back without their field.
std::vector<FieldEdit> ParsePairs(const char* flag, const std::vector<std::string>& items, bool noneAllowed,
                                  const char* word);

// A patch tool goes by the name: a BPS file named .ips (or the other way round) would be
// refused by the tool it is meant for.
void CheckPatchName(const char* option, const std::string& path, bool ips);

}  // namespace Cli
