#pragma once
// BPS and IPS appliers written from the formats alone, as a patch tool reads them, so that
// what tavero-cli writes is checked by something other than its own writer. The tests and
// the patch fuzz target both use them.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
using ByteSpan = std::span<const std::uint8_t>;

struct Applied {
  Bytes Target;
  std::string Error;  // empty when the patch applied
};

// Checks the magic, the sizes and all three CRC-32s; knows SourceRead and TargetRead.
Applied ApplyBps(ByteSpan source, ByteSpan patch);
// Stops at "EOF"; refuses bytes after it, RLE records and writes past the end of the source.
Applied ApplyIps(ByteSpan source, ByteSpan patch);

// The same into target, whose memory serves again from call to call; they return the error,
// empty when the patch applied (target then holds what it gives).
std::string ApplyBps(ByteSpan source, ByteSpan patch, Bytes& target);
std::string ApplyIps(ByteSpan source, ByteSpan patch, Bytes& target);
