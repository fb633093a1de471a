#pragma once
// Hex for people, and the CRC-32 the patches and sums use. Nothing here knows an image, so the
// patch encoders stand alone.

#include <cstdint>
#include <span>
#include <string>

#include "formats/Crc32.h"

namespace Cli {

std::string Hex(std::uint64_t value, int digits = 0);  // "0x1F", zero-padded to digits

using Formats::Crc32;

}  // namespace Cli
