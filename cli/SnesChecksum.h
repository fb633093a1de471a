#pragma once
// The internal checksum of an image as tavero-cli reports and fixes it: over the bytes of
// the image without its copier header, up to ImageLength (the bytes a save writes).

#include <cstdint>
#include <string>

#include "rom/CRomImage.h"

namespace Cli {

struct ChecksumState {
  enum class Verdict {
    Good,       // stored checksum and complement match the bytes
    Stale,      // they do not
    NotHiRom,   // the map-mode byte does not say HiROM: there is no header to check here
    OddHeader,  // a header other than none or 512 bytes
    TooShort,   // the image ends before its internal header
  };
  Verdict Result = Verdict::TooShort;
  int HeaderSize = 0;
  std::uint64_t ImageSize = 0;  // bytes summed, before mirroring
  std::uint8_t MapMode = 0;
  std::uint16_t Stored = 0;
  std::uint16_t StoredComplement = 0;
  std::uint16_t Computed = 0;
  bool Checked() const { return Result == Verdict::Good || Result == Verdict::Stale; }
};

// Looks at what rom holds now (Buffer, HeaderSize, ImageLength).
ChecksumState InspectChecksum(const CRomImage& rom);

// One line for people: "0x1234 (complement 0xEDCB), good", or why it is stale or not checked.
std::string ChecksumText(const ChecksumState& state);

// Stores the computed checksum and its complement in rom's Buffer. Returns false with
// *error, naming the image as shown, when the image has no HiROM header to fix.
bool FixChecksum(CRomImage& rom, const std::string& shown, std::string* error);

// info's lines on the file as it is on disk ("crc-32:" with and without the header, and
// "checksum:"). Returns false with *error when the file cannot be read.
bool FileSumLines(const std::string& image, std::string* lines, std::string* error);

}  // namespace Cli
