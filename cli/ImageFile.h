#pragma once
// An image file's bytes as they are on disk, cut by the editor's own rules (the load
// sequence's first stage, CRomImage::LoadImage): the header is ImageLength modulo 0x10000, and
// the image ends at ImageLength (of a file longer than 0x7FFFFF bytes, the first 0x800000).
// Patches, checksums and the comparison by record read these, never a buffer that a load has
// already patched.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "rom/CRomImage.h"

namespace Cli {

// Reads the whole file at path into rom (for reading only) and sets its header size. Returns
// false with *error worded as the editor's ("Could not load PATH:\nREASON.").
bool LoadFileBytes(const std::string& path, CRomImage& rom, std::string* error);

// Parts of what rom holds: the whole file; from ROM offset 0 to the end of the file (what a
// patch relates); from ROM offset 0 to ImageLength (what the checksum covers).
std::span<const std::uint8_t> FileBytes(const CRomImage& rom);
std::span<const std::uint8_t> RomBytes(const CRomImage& rom);
std::span<const std::uint8_t> ImageBytes(const CRomImage& rom);

// Why a file with this header cannot be patched or checksummed, or "" for none or a copier
// header. path names the file in the message.
std::string HeaderProblem(const std::string& path, const CRomImage& rom);

}  // namespace Cli
