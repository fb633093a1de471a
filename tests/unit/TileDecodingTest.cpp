#include <gtest/gtest.h>

#include "render/GlyphSheetLayout.h"
#include "render/TileDecoding.h"

namespace {

TEST(GlyphCell, PlacesEachCodeInItsSchemesBand) {
  EXPECT_EQ(GlyphCell(0x41, ColourScheme::Highlight), (CellOrigin{8, 32}));
  EXPECT_EQ(GlyphCell(0x41, ColourScheme::Current), (CellOrigin{8, 160}));
  EXPECT_EQ(GlyphCell(0x41, ColourScheme::Normal), (CellOrigin{8, 288}));
  EXPECT_EQ(GlyphCell(0xFF, ColourScheme::Highlight), (CellOrigin{120, 120}));
  EXPECT_EQ(GlyphCell(0xFF, ColourScheme::Current), (CellOrigin{120, 248}));
  EXPECT_EQ(GlyphCell(0xFF, ColourScheme::Normal), (CellOrigin{120, 376}));
}

TEST(DecodeTile, ReadsTwoPlanesLeftmostPixelFromBit7) {
  std::array<std::uint8_t, 16> tile{};
  for (auto row : DecodeTile(tile))
    for (auto index : row) EXPECT_EQ(index, 0);
  tile.fill(0xFF);
  for (auto row : DecodeTile(tile))
    for (auto index : row) EXPECT_EQ(index, 3);

  tile.fill(0);
  tile[2 * 5] = 0x80;      // row 5, plane 0: leftmost pixel
  tile[2 * 5 + 1] = 0x01;  // row 5, plane 1: rightmost pixel
  TilePixels pixels = DecodeTile(tile);
  EXPECT_EQ(pixels[5], (std::array<std::uint8_t, 8>{1, 0, 0, 0, 0, 0, 0, 2}));
  EXPECT_EQ(pixels[4], (std::array<std::uint8_t, 8>{}));
}

TEST(Bgr555ToColorRef, WidensEachComponentByThreeZeroBits) {
  EXPECT_EQ(Bgr555ToColorRef(0x001F), 0x0000F8u);
  EXPECT_EQ(Bgr555ToColorRef(0x7C00), 0xF80000u);
  EXPECT_EQ(Bgr555ToColorRef(0x7FFF), 0xF8F8F8u);
  EXPECT_EQ(Bgr555ToColorRef(0xFFFF), 0xF8F8F8u);  // bit 15 ignored
  EXPECT_EQ(Bgr555ToColorRef(0x1234), 0x2088A0u);
}

}  // namespace
