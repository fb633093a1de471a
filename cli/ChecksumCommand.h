#pragma once
// What checksum adds besides its command (RunChecksum, in Commands.h): info's lines on an
// image file's sums.

#include <string>

namespace Cli {

// info's lines on the file as it is on disk ("crc-32:" with and without the header, and
// "checksum:"). Returns false with *error when the file cannot be read.
bool FileSumLines(const std::string& image, std::string* lines, std::string* error);

}  // namespace Cli
