#pragma once
// A CRomImage loaded from bytes written to a temporary file, the way the Load command does it.

#include <gtest/gtest.h>

#include <memory>

#include "TestFiles.h"
#include "rom/CRomImage.h"
#include "rom/RomLayout.h"

class RomFixture : public ::testing::Test {
 protected:
  // Bytes of a file that reaches every location, for the header the length implies.
  static std::vector<std::uint8_t> ImageBytes(std::size_t length = 0x280000, std::uint32_t seed = 1) {
    return PatternedBytes(length, seed);
  }

  // The load sequence's first steps (LoadFile and the header size), as the Load command runs
  // them; the tests take the later steps themselves. True when both succeed.
  bool Load(const std::vector<std::uint8_t>& bytes, const std::string& name = "image.smc") {
    Path = Dir.Write(name, bytes);
    Rom->SetPath(CString(Path.c_str()));
    return Rom->LoadImage(CRomImage::LoadStage::Header);
  }

  std::uint8_t BufferAtRom(std::uint64_t romOffset) const { return Rom->PeekByte(romOffset); }

  TempDir Dir;
  std::string Path;
  std::unique_ptr<CRomImage> Rom = std::make_unique<CRomImage>();
};
