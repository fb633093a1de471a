#include "tools/SampleImage.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>

#include "rom/EsperRecord.h"
#include "rom/GameText.h"
#include "rom/InternalHeader.h"
#include "rom/RomLayout.h"
#include "tools/SampleFont.h"

namespace SampleImage {
namespace {

constexpr std::array<std::string_view, RomLayout::SpellNameCount> SpellNames{
    "Spark", "Frost",  "Gale",  "Mend",    "Ward",   "Ember",   "Sleet",   "Tremor", "Surge",  "Veil",   "Blink",
    "Hush!", "Siphon", "Lumen", "Thorn",   "Mire",   "Swift",   "Lull",    "Scour",  "Gleam",  "Cinder", "Rime",
    "Tempo", "Shroud", "Glint", "Torrent", "Zephyr", "Brine",   "Quill",   "Pyre",   "Hail",   "Moss",   "Dusk",
    "Dawn",  "Fathom", "Rust",  "St.Ash",  "Husk",   "Kindle",  "Nettle",  "Pulse",  "Rift",   "Shard",  "Tide",
    "Umbra", "Vortex", "Wisp",  "Yonder",  "Zest",   "Bramble", "Clarion", "Drift",  "Echo 2", "Mend+2",
};

constexpr std::array<std::string_view, RomLayout::EsperNameCount> EsperNames{
    "Vesper", "Orrin",   "Kaldra",  "Thessin", "Morvane", "Quillon", "Ysmere",  "Brannoch", "Caelix",
    "D'Varn", "Elvaren", "Fennick", "Galdur",  "Hestra",  "Ilvane",  "Jorrik",  "Kestrin",  "Lunara",
    "Myrrde", "Nalvor",  "Oskarn",  "Pellam",  "Rhovan",  "Sabrith", "Tovarin", "Umbrel",   "Wyndra",
};

constexpr std::array<std::string_view, RomLayout::BonusNameCount> BonusNames{
    "HP +5%", "HP +15%", "HP +25%", "MP +5%", "MP +15%", "MP +25%",  "Str +1",    "Str +2",   "Agi +1",
    "Agi +2", "Vit +1",  "Vit +2",  "Wis +1", "Wis +2",  "HP/MP +5", "Resist +1", "Exp -10%",
};

template <std::size_t N>
constexpr bool FitWidth(const std::array<std::string_view, N>& names, int width) {
  for (std::string_view name : names)
    if (name.empty() || name.size() > static_cast<std::size_t>(width)) return false;
  return true;
}
static_assert(FitWidth(SpellNames, RomLayout::SpellNameWidth));
static_assert(FitWidth(EsperNames, RomLayout::EsperNameWidth));
static_assert(FitWidth(BonusNames, RomLayout::BonusNameWidth));

constexpr auto EmptySpell = static_cast<std::uint8_t>(NoValue);
constexpr auto NoBonus = static_cast<std::uint8_t>(NoValue);
constexpr int NamedBonuses = RomLayout::BonusNameCount;

// Rates drawn in turn; 0, 1 and 255 are the edges an editor gets wrong.
constexpr std::array<std::uint8_t, 12> Rates{1, 3, 5, 8, 10, 15, 20, 255, 0, 2, 6, 12};

// A step coprime to the spell count visits every spell and never repeats one
// within a record.
constexpr int SpellStep = 23;
static_assert(SpellStep % 2 != 0 && SpellStep % 3 != 0 && RomLayout::SpellNameCount == 54);

void CheckVariant(const Options& options) {
  if (options.Variant < 0) throw std::invalid_argument("the variant must not be negative");
}

int Slots(const Options& options) { return options.Records == Layout::SixSlot ? PairCount : PairCount - 1; }

int RecordSize(const Options& options) {
  return options.Records == Layout::SixSlot ? RomLayout::SixSlotRecordSize : RomLayout::FiveSlotRecordSize;
}

// Every record at once, since each continues the spell and rate runs of the one before.
std::vector<std::vector<std::uint8_t>> Records(const Options& options) {
  CheckVariant(options);
  const int slots = Slots(options);
  const std::int64_t v = options.Variant;  // wide, so large variants cannot overflow
  std::int64_t used = 0;
  std::vector<std::vector<std::uint8_t>> records;
  for (int e = 0; e < RomLayout::EsperCount; ++e) {
    std::vector<std::uint8_t> record;
    const std::int64_t filled = 1 + (e * 7 + v) % slots;  // 7 is coprime to 5 and 6: every count shows up
    const bool gap = filled >= 3 && (e + v) % 9 == 4;     // an empty pair between filled ones
    for (int s = 0; s < slots; ++s) {
      if (s >= filled || (gap && s == 1)) {
        record.insert(record.end(), {0, EmptySpell});
        continue;
      }
      record.push_back(Rates[static_cast<std::size_t>((used * 5 + v) % std::ssize(Rates))]);
      record.push_back(static_cast<std::uint8_t>((v * 13 + used * SpellStep) % RomLayout::SpellNameCount));
      ++used;
    }
    const std::int64_t bonus = (e * 7 + v * 3) % 20;  // 7 is coprime to 20: every named bonus shows up
    record.push_back(bonus < NamedBonuses ? static_cast<std::uint8_t>(bonus) : NoBonus);
    records.push_back(std::move(record));
  }
  return records;
}

// Names rotate with the variant, so a second image has another name at each index.
template <std::size_t N>
std::string Rotated(const std::array<std::string_view, N>& names, const Options& options, int index) {
  CheckVariant(options);
  if (index < 0 || index >= static_cast<int>(N)) throw std::out_of_range("name index out of range");
  return std::string(names[(static_cast<std::size_t>(index) + static_cast<std::size_t>(options.Variant)) % N]);
}

// Non-zero and cheap; n is a ROM offset, so the ROM bytes do not depend on the header.
std::uint8_t Filler(std::uint64_t n) {
  std::uint32_t h = static_cast<std::uint32_t>(n ^ (n >> 32)) * 0x9E3779B1u;
  h ^= h >> 15;
  return static_cast<std::uint8_t>(h % 255 + 1);
}

// 128 palettes of 16: the hue turns from palette to palette, brightness rises within one.
std::uint16_t PaletteColour(int index) {
  const int hue = (index / 16) * 3 % 192;
  const int f = hue % 32;
  int r = 0, g = 0, b = 0;
  switch (hue / 32) {
    case 0: r = 31, g = f; break;
    case 1: r = 31 - f, g = 31; break;
    case 2: g = 31, b = f; break;
    case 3: g = 31 - f, b = 31; break;
    case 4: r = f, b = 31; break;
    default: r = 31, b = 31 - f; break;
  }
  const int level = index % 16 + 1;
  r = r * level / 16, g = g * level / 16, b = b * level / 16;
  return static_cast<std::uint16_t>(r | g << 5 | b << 10);
}

// What a HiROM cartridge of this size would carry, checksum last since it covers the rest:
// the image as the editor counts it (of a large file, the first 0x800000 bytes).
void PutInternalHeader(std::uint8_t* rom, std::uint64_t romSize) {
  using namespace InternalHeader;
  constexpr std::string_view title = "TAVERO SAMPLE IMAGE";
  static_assert(title.size() <= static_cast<std::size_t>(TitleLength));
  std::memset(rom + Title, ' ', TitleLength);
  std::memcpy(rom + Title, title.data(), title.size());
  rom[MapMode] = HiRomMapMode;
  rom[CartridgeType] = 0x02;  // ROM, RAM and a battery
  int sizeCode = 0;
  while ((std::uint64_t{1024} << sizeCode) < romSize) ++sizeCode;
  rom[RomSizeCode] = static_cast<std::uint8_t>(sizeCode);
  rom[RamSizeCode] = 0x03;  // 8 KiB
  rom[Region] = 0x01;
  rom[Maker] = 0x33;
  rom[Version] = 0x00;
  std::span<std::uint8_t> image(rom, static_cast<std::size_t>(romSize));
  Store(image, Compute(image));
}

void PutNames(std::vector<std::uint8_t>& bytes, std::uint64_t at, int width, int count,
              std::string (*name)(const Options&, int), const Options& options) {
  for (int i = 0; i < count; ++i) {
    const std::vector<std::uint8_t> code = EncodeName(name(options, i));
    std::uint8_t* field = bytes.data() + at + static_cast<std::uint64_t>(i * width);
    std::memset(field, GameText::Blank, static_cast<std::size_t>(width));
    std::memcpy(field, code.data(), code.size());
  }
}

}  // namespace

std::uint64_t HeaderSizeFor(std::uint64_t fileLength) {
  return static_cast<std::uint64_t>(RomLayout::HeaderSizeOf(RomLayout::ImageLengthOf(fileLength)));
}

std::vector<std::uint8_t> Make(const Options& options) {
  CheckVariant(options);
  if (options.RomSize > MaxRomSize)
    throw std::invalid_argument("image size " + std::to_string(options.RomSize) + " is above the limit of " +
                                std::to_string(MaxRomSize) + " bytes");
  const std::uint64_t total = options.RomSize + (options.Header ? RomLayout::CopierHeaderSize : 0);
  const std::uint64_t header = HeaderSizeFor(total);
  if (total < header + RomLayout::ImageEnd)
    throw std::invalid_argument("image size " + std::to_string(options.RomSize) + " is too small: a file of " +
                                std::to_string(total) + " bytes has a " + std::to_string(header) +
                                "-byte header and needs " + std::to_string(header + RomLayout::ImageEnd) + " bytes");

  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(total));
  for (std::uint64_t i = 0; i < header; ++i) bytes[i] = Filler(i + 0xA5A5A5A5u);
  for (std::uint64_t i = header; i < total; ++i) bytes[i] = Filler(i - header);
  std::uint8_t* rom = bytes.data() + header;

  const auto tiles = SampleFont::Tiles();
  std::memcpy(rom + RomLayout::FontBlock, tiles.data(), tiles.size());

  for (int i = 0; i < RomLayout::PaletteColourCount; ++i) {
    const std::uint16_t colour = PaletteColour(i);
    rom[RomLayout::PaletteBlock + 2 * i] = static_cast<std::uint8_t>(colour & 0xFF);
    rom[RomLayout::PaletteBlock + 2 * i + 1] = static_cast<std::uint8_t>(colour >> 8);
  }

  // A six-slot image is one whose code carries the whole patch, not just the probes.
  if (options.Records == Layout::SixSlot) {
    for (const RomLayout::PatchRun& run : RomLayout::SixSlotPatch) {
      std::uint64_t at = run.Offset;
      for (std::uint8_t b : run.Bytes) rom[at++] = b;
    }
  }
  const auto size = static_cast<std::uint8_t>(RecordSize(options));
  rom[RomLayout::RecordSizeProbeA] = size;
  rom[RomLayout::RecordSizeProbeB] = size;

  std::uint64_t at = RomLayout::EsperDataBlock;
  for (const auto& record : Records(options)) {
    std::memcpy(rom + at, record.data(), record.size());
    at += record.size();
  }

  PutNames(bytes, header + RomLayout::SpellNameBlock, RomLayout::SpellNameWidth, RomLayout::SpellNameCount, SpellName,
           options);
  PutNames(bytes, header + RomLayout::EsperNameBlock, RomLayout::EsperNameWidth, RomLayout::EsperNameCount, EsperName,
           options);
  PutNames(bytes, header + RomLayout::BonusNameBlock, RomLayout::BonusNameWidth, RomLayout::BonusNameCount, BonusName,
           options);
  if (options.InternalHeader) PutInternalHeader(rom, RomLayout::ImageLengthOf(total) - header);
  return bytes;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* error) {
  auto fail = [&](const char* what) {
    if (error) *error = std::string(what) + " " + path + ": " + std::strerror(errno);
    return false;
  };
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return fail("cannot create");
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int savedErrno = errno;
  if (std::fclose(file) != 0 || !written) {
    if (!written) errno = savedErrno;
    return fail("cannot write");
  }
  return true;
}

std::vector<std::uint8_t> EsperRecord(const Options& options, int esper) {
  if (esper < 0 || esper >= RomLayout::EsperCount) throw std::out_of_range("esper index out of range");
  return Records(options)[static_cast<std::size_t>(esper)];
}

std::string SpellName(const Options& options, int spell) { return Rotated(SpellNames, options, spell); }

std::string EsperName(const Options& options, int esper) { return Rotated(EsperNames, options, esper); }

std::string BonusName(const Options& options, int bonus) { return Rotated(BonusNames, options, bonus); }

std::vector<std::uint8_t> EncodeName(std::string_view ascii) {
  std::vector<std::uint8_t> code;
  for (char c : ascii) {
    const int glyph = SampleFont::CodeFor(c);
    if (glyph < 0) throw std::invalid_argument(std::string("the sample font has no glyph for '") + c + "'");
    code.push_back(static_cast<std::uint8_t>(glyph));
  }
  return code;
}

}  // namespace SampleImage
