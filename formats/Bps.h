#pragma once
// BPS patches: "BPS1", the source, target and metadata sizes as varints, commands, then the
// CRC-32 of the source, of the target and of the patch so far (each low byte first). We
// write two commands: SourceRead copies the source at the current output offset, TargetRead
// carries literal bytes.

#include <cstdint>
#include <span>
#include <string>

namespace Formats {

// A BPS number: 7 bits a byte, low bits first, the top bit set on the last byte, and 1 taken
// from what remains after each byte that is not the last (so every number has one spelling).
void AppendBpsVarint(std::string& out, std::uint64_t value);

// The patch from source to target. Requires source.size() == target.size().
std::string MakeBps(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target);

}  // namespace Formats
