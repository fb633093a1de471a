#pragma once
// BPS and IPS appliers written from the formats alone, as a patch tool reads them, so that
// what tavero-cli writes is checked by something other than its own writer.

#include <string>

#include "CliRun.h"

struct Applied {
  Bytes Target;
  std::string Error;  // empty when the patch applied
};

// Checks the magic, the sizes and all three CRC-32s; knows SourceRead and TargetRead.
Applied ApplyBps(const Bytes& source, const Bytes& patch);
// Stops at "EOF"; refuses bytes after it, RLE records and writes past the end of the source.
Applied ApplyIps(const Bytes& source, const Bytes& patch);
