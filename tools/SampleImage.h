#pragma once
// Synthetic, deterministic ROM images for trying and testing the editor.
// They hold invented names, records, a font and colours where the editor
// looks for them, and non-zero filler everywhere else, so a byte changed in
// the wrong place shows. No real game data.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace SampleImage {

enum class Layout { FiveSlot, SixSlot };

struct Options {
  std::uint64_t RomSize = 3 * 1024 * 1024;  // bytes from ROM offset 0
  bool Header = false;                      // 512 extra bytes at the start of the file
  Layout Records = Layout::FiveSlot;
  int Variant = 0;              // another value gives other names and records
  bool InternalHeader = false;  // a HiROM internal header with a good checksum
};

// Larger sizes are refused rather than allocated.
inline constexpr std::uint64_t MaxRomSize = 64 * 1024 * 1024;

// The file bytes: RomSize, plus 512 with Header. Throws std::invalid_argument
// when the blocks would not fit behind the header size the editor derives.
std::vector<std::uint8_t> Make(const Options& options);

// The header size the editor derives from a file length.
std::uint64_t HeaderSizeFor(std::uint64_t fileLength);

// Writes bytes to path, replacing any file there. On failure returns false and
// puts the reason in *error.
bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* error);

// What Make puts in place, for tests.
std::vector<std::uint8_t> EsperRecord(const Options& options, int esper);  // in the chosen layout
std::string SpellName(const Options& options, int spell);
std::string EsperName(const Options& options, int esper);
std::string BonusName(const Options& options, int bonus);

// ASCII to game codes, no padding. Throws std::invalid_argument for a
// character the sample font does not draw.
std::vector<std::uint8_t> EncodeName(std::string_view ascii);

}  // namespace SampleImage
