#include "cli/ImageFile.h"

#include "cli/Printable.h"
#include "rom/RomLayout.h"

namespace Cli {

bool LoadFileBytes(const std::string& path, CRomImage& rom, std::string* error) {
  rom.SetPath(CString(path));
  if (rom.LoadImage(CRomImage::LoadStage::Header, CFile::modeRead)) return true;
  *error = rom.FailureMessage("load", CString(Printable(path))).Str();
  return false;
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
  if (RomLayout::HeaderLeftOut(rom.HeaderSize)) return "";
  std::string why = Printable(path);
  why.append(" has a header of ")
      .append(std::to_string(rom.HeaderSize))
      .append(
          " bytes (its length modulo 0x10000); only a 512-byte copier header can be left out, as patch tools "
          "and checksums expect");
  return why;
}

}  // namespace Cli
