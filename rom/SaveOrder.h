#pragma once
// How a save in place writes the image when the file cannot be replaced whole: only the bytes
// that change, in an order after which an interruption leaves an image that the editor loads
// as the old one or as the new one.

#include <cstdint>
#include <span>
#include <vector>

#include "formats/ByteRuns.h"

namespace SaveOrder {

// The runs where image differs from what the file holds (onDisk, of the same length), in the
// order to write them. The record-size probes decide how a load reads the records, so the
// runs that hold them come last, as one write: until then the file's probes read the records
// as they were read at its load, which is how the records are written. Runs closer than a
// page are joined, so that each write stays within a page or two.
std::vector<Formats::ByteRun> RunsToWrite(std::span<const std::uint8_t> onDisk, std::span<const std::uint8_t> image,
                                          int headerSize);

}  // namespace SaveOrder
