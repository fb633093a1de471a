#pragma once
// The patch of what Save would write: from an image file as it lies on disk to the bytes a
// save of the image loaded from it would leave there. Both sides start at ROM offset 0, so a
// copier header is left out, as patch tools expect; a file with another header has no patch.
// tavero-cli's --patch and the page's "Download patch" make theirs from these sides.

#include <cstdint>
#include <span>
#include <vector>

#include "rom/CRomImage.h"

struct SavePatch {
  enum class Problem {
    None,
    NotTheLoadedFile,  // no image held, or one of another length than the file
    HeaderNotLeftOut,  // a header other than none or a copier header (RomLayout::HeaderLeftOut)
    NoChange,          // the save would write the bytes the file holds
  };
  Problem Refused = Problem::None;
  std::span<const std::uint8_t> Source;  // the file from ROM offset 0: a view of the bytes given
  std::vector<std::uint8_t> Target;      // what the save would leave there, from ROM offset 0

  // disk: the whole file as it lies on disk; rom: the image loaded from it, its records
  // already stored into Buffer (StoreRecords, Save's first step). Save writes the first
  // ImageLength bytes of Buffer over the file and leaves the rest as it was. Source and Target
  // are empty when Refused is not None.
  static SavePatch Of(std::span<const std::uint8_t> disk, const CRomImage& rom);
};
