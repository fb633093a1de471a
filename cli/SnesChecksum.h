#pragma once
// The internal checksum of an image in tavero-cli's words: the verdict is rom/'s
// (InternalHeader::Inspect), over the bytes of the image without its copier header, up to
// ImageLength (the bytes a save writes).

#include <string>

#include "rom/CRomImage.h"
#include "rom/InternalHeader.h"

namespace Cli {

using ChecksumCheck = InternalHeader::ChecksumCheck;

// The verdict on what rom holds now (Buffer, HeaderSize, ImageLength).
ChecksumCheck InspectChecksum(const CRomImage& rom);

// One line for people: "0x1234 (complement 0xEDCB): good", or why it is stale or not checked.
std::string ChecksumText(const ChecksumCheck& check);

// "0x1234 (complement 0xEDCB)"
std::string ChecksumPair(std::uint16_t checksum, std::uint16_t complement);

// Stores the computed checksum and its complement in rom's Buffer. Returns false with
// *error, naming the image as shown, when the image has no HiROM header to fix.
bool FixChecksum(CRomImage& rom, const std::string& shown, std::string* error);

}  // namespace Cli
