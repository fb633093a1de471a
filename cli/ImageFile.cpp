#include "cli/ImageFile.h"

#include <zlib.h>

#include <algorithm>

#include "rom/RomLayout.h"

namespace Cli {

bool LoadFileBytes(const std::string& path, CRomImage& rom, std::string* error) {
  rom.SetPath(CString(path));
  if (!rom.LoadFile(CFile::modeRead)) {
    *error = rom.FailureMessage("load").Str();
    return false;
  }
  rom.SetHeaderSize(RomLayout::HeaderSizeOf(rom.GetImageLength()));
  return true;
}

std::span<const std::uint8_t> FileBytes(const CRomImage& rom) {
  return {rom.Buffer.get(), static_cast<std::size_t>(rom.BufferSize)};
}

std::span<const std::uint8_t> RomBytes(const CRomImage& rom) {
  return FileBytes(rom).subspan(static_cast<std::size_t>(rom.HeaderSize));
}

std::span<const std::uint8_t> ImageBytes(const CRomImage& rom) {
  return FileBytes(rom).first(rom.GetImageLength()).subspan(static_cast<std::size_t>(rom.HeaderSize));
}

std::string HeaderProblem(const std::string& path, const CRomImage& rom) {
  if (rom.HeaderSize == 0 || rom.HeaderSize == CopierHeaderSize) return "";
  std::string why = path;
  why.append(" has a header of ")
      .append(std::to_string(rom.HeaderSize))
      .append(" bytes (its length modulo 0x10000); only a 512-byte copier header can be left out, as patch tools "
              "and checksums expect");
  return why;
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  while (!bytes.empty()) {  // zlib takes 32-bit lengths
    const std::size_t part = std::min<std::size_t>(bytes.size(), 1u << 30);
    crc = crc32(crc, bytes.data(), static_cast<uInt>(part));
    bytes = bytes.subspan(part);
  }
  return static_cast<std::uint32_t>(crc);
}

}  // namespace Cli
