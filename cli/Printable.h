#pragma once
// Text from outside the program (paths, JSON keys, values typed on the command line) as
// tavero-cli prints it: a control character in a file name must not end a line, move the
// cursor or pass for part of the program's own message.

#include <string>
#include <string_view>

namespace Cli {

// text with each control character (0x00..0x1F, 0x7F) escaped: \n, \r and \t as written in
// C, the others as \xHH. Everything else, backslashes and UTF-8 included, as it is.
std::string Printable(std::string_view text);

}  // namespace Cli
