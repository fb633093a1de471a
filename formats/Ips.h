#pragma once
// IPS patches: "PATCH", records of a 24-bit offset, a 16-bit length (1..0xFFFF) and the
// bytes, all numbers high byte first, then "EOF".

#include <cstdint>
#include <span>
#include <string>

namespace Formats {

// Offsets are 24 bits: changes must lie below 16 MiB.
inline constexpr std::uint64_t IpsAddressLimit = 0x1000000;

// The patch from source to target into *patch. Returns false with *error, and leaves *patch
// alone, when a change lies at or past IpsAddressLimit. Requires source.size() == target.size().
bool MakeIps(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target, std::string* patch,
             std::string* error);

}  // namespace Formats
