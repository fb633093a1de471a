#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "rom/GameText.h"
#include "rom/RomLayout.h"
#include "tools/SampleFont.h"
#include "tools/SampleImage.h"

namespace {

using SampleImage::Layout;
using SampleImage::Options;

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::uint64_t at, std::size_t length) {
  return {bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + length)};
}

std::vector<std::uint8_t> Field(std::string_view name, int width) {
  std::vector<std::uint8_t> field = SampleImage::EncodeName(name);
  field.resize(static_cast<std::size_t>(width), GameText::Blank);
  return field;
}

TEST(SampleImage, SameOptionsGiveSameBytesAndAnotherVariantOtherData) {
  const Options first;
  Options second;
  second.Variant = 1;
  const auto a = SampleImage::Make(first);
  EXPECT_EQ(a, SampleImage::Make(first));

  const auto b = SampleImage::Make(second);
  for (int i = 0; i < RomLayout::EsperCount; ++i)
    EXPECT_NE(SampleImage::EsperName(first, i), SampleImage::EsperName(second, i)) << "esper " << i;
  EXPECT_NE(Slice(a, RomLayout::SpellNameBlock, RomLayout::SpellNameWidth),
            Slice(b, RomLayout::SpellNameBlock, RomLayout::SpellNameWidth));
  EXPECT_NE(SampleImage::EsperRecord(first, 0), SampleImage::EsperRecord(second, 0));
}

struct Placement {
  std::uint64_t RomSize;
  bool Header;
  Layout Records;
  std::uint64_t ExpectedHeader;
  friend void PrintTo(const Placement& p, std::ostream* out) {
    *out << "0x" << std::hex << std::uppercase << p.RomSize << std::dec << " bytes"
         << (p.Header ? " with a header, " : ", ") << (p.Records == Layout::SixSlot ? "six-slot" : "five-slot");
  }
};

class SampleImagePlacement : public testing::TestWithParam<Placement> {};

TEST_P(SampleImagePlacement, BlocksSitBehindTheDerivedHeader) {
  const Placement& p = GetParam();
  Options options;
  options.RomSize = p.RomSize;
  options.Header = p.Header;
  options.Records = p.Records;
  options.Variant = 2;
  const auto bytes = SampleImage::Make(options);
  ASSERT_EQ(bytes.size(), p.RomSize + (p.Header ? 512 : 0));
  const std::uint64_t h = SampleImage::HeaderSizeFor(bytes.size());
  ASSERT_EQ(h, p.ExpectedHeader);

  const bool six = p.Records == Layout::SixSlot;
  const int size = six ? RomLayout::SixSlotRecordSize : RomLayout::FiveSlotRecordSize;
  EXPECT_EQ(bytes[h + RomLayout::RecordSizeProbeA], size);
  EXPECT_EQ(bytes[h + RomLayout::RecordSizeProbeB], size);
  for (int e : {0, 13, RomLayout::EsperCount - 1}) {
    const auto record = SampleImage::EsperRecord(options, e);
    ASSERT_EQ(record.size(), static_cast<std::size_t>(size));
    const std::uint64_t at = h + RomLayout::EsperDataBlock + static_cast<std::uint64_t>(e * size);
    EXPECT_EQ(Slice(bytes, at, record.size()), record);
  }
  EXPECT_EQ(Slice(bytes, h + RomLayout::EsperNameBlock + 5 * RomLayout::EsperNameWidth, RomLayout::EsperNameWidth),
            Field(SampleImage::EsperName(options, 5), RomLayout::EsperNameWidth));
  EXPECT_EQ(Slice(bytes, h + RomLayout::BonusNameBlock + 16 * RomLayout::BonusNameWidth, RomLayout::BonusNameWidth),
            Field(SampleImage::BonusName(options, 16), RomLayout::BonusNameWidth));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SampleImagePlacement,
    testing::Values(Placement{3 << 20, false, Layout::FiveSlot, 0}, Placement{3 << 20, true, Layout::SixSlot, 512},
                    Placement{0x300123, false, Layout::FiveSlot, 0x123},
                    // Beyond 8 MiB the editor clamps the length, so the header flag adds bytes but no header.
                    Placement{16 << 20, true, Layout::SixSlot, 0}));

TEST(SampleImage, RefusesSizesThatDoNotReachTheLastBlock) {
  Options options;
  options.RomSize = 0x270000;  // the smallest whole bank count past the esper names
  EXPECT_NO_THROW(SampleImage::Make(options));
  options.RomSize = 0x26FFFF;  // derives a 0xFFFF-byte header, pushing the names off the end
  EXPECT_THROW(SampleImage::Make(options), std::invalid_argument);
  options.RomSize = RomLayout::ImageEnd - 1;
  EXPECT_THROW(SampleImage::Make(options), std::invalid_argument);
  options.RomSize = 0;
  options.Header = true;
  EXPECT_THROW(SampleImage::Make(options), std::invalid_argument);
}

TEST(SampleImage, EveryNameByteIsDrawnOrBlank) {
  const auto font = SampleFont::Tiles();
  auto drawn = [&](std::uint8_t code) {
    const auto* tile = font.data() + code * RomLayout::TileBytes;
    return std::any_of(tile, tile + RomLayout::TileBytes, [](std::uint8_t b) { return b != 0; });
  };
  EXPECT_FALSE(drawn(GameText::Blank));
  EXPECT_TRUE(drawn(GameText::HexMark));

  for (int variant : {0, 1, 7}) {
    Options options;
    options.Variant = variant;
    const auto bytes = SampleImage::Make(options);
    EXPECT_TRUE(std::equal(font.begin(), font.end(), bytes.begin() + RomLayout::FontBlock));
    const struct {
      std::uint64_t At;
      int Width, Count;
    } blocks[] = {{RomLayout::SpellNameBlock, RomLayout::SpellNameWidth, RomLayout::SpellNameCount},
                  {RomLayout::EsperNameBlock, RomLayout::EsperNameWidth, RomLayout::EsperNameCount},
                  {RomLayout::BonusNameBlock, RomLayout::BonusNameWidth, RomLayout::BonusNameCount}};
    for (const auto& block : blocks) {
      for (int i = 0; i < block.Count; ++i) {
        const auto field =
            Slice(bytes, block.At + static_cast<std::uint64_t>(i * block.Width), static_cast<std::size_t>(block.Width));
        EXPECT_TRUE(drawn(field[0])) << "name " << i << " starts blank";
        for (std::uint8_t b : field) EXPECT_TRUE(b == GameText::Blank || drawn(b)) << "code " << int(b);
      }
    }
  }
  EXPECT_THROW(SampleImage::EncodeName("Caf\xE9"), std::invalid_argument);
}

TEST(SampleImage, GlyphsUseOnlyStrokeAndShadowColours) {
  const auto font = SampleFont::Tiles();
  for (std::size_t row = 0; row < font.size(); row += 2)
    EXPECT_EQ(font[row + 1] & ~font[row], 0) << "grey pixel in tile " << row / RomLayout::TileBytes;
}

}  // namespace
