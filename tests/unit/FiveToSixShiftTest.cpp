#include "RomFixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class FiveToSixShift : public RomFixture, public ::testing::WithParamInterface<std::size_t> {
 protected:
  // A five-slot image (probes 0x0B) whose esper i has record bytes i*16 + 1 .. i*16 + 11,
  // loaded and patched as the Load command leaves it.
  Bytes LoadFiveSlotImage(std::size_t header) {
    Bytes bytes = ImageBytes(0x280000 + header);
    bytes[header + 0x26295] = bytes[header + 0x359E1] = 0x0B;
    for (int i = 0; i < 27; ++i)
      for (int j = 0; j < 11; ++j) bytes[header + 0x186E00 + 11 * i + j] = static_cast<std::uint8_t>(i * 16 + j + 1);
    bytes[header + 0x186E00 + 11 * 5 + 10] = 0xFF;  // esper 5: no bonus
    EXPECT_TRUE(Load(bytes));
    EXPECT_EQ(Rom->HeaderSize, static_cast<int>(header));
    Rom->ReadEsperData();
    return Bytes(Rom->Buffer.get(), Rom->Buffer.get() + Rom->BufferSize);
  }

  Bytes BlockRecord(int esper) const {
    Bytes record;
    for (int j = 0; j < 13; ++j) record.push_back(Rom->PeekByte(0x186E00 + 13 * esper + j));
    return record;
  }
};

TEST_P(FiveToSixShift, RewritesTheBlockAndTheTable) {
  const std::size_t header = GetParam();
  Bytes before = LoadFiveSlotImage(header);
  Rom->ShiftFiveToSix();

  EXPECT_EQ(BlockRecord(0), Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0xFF, 0xFF, 11}));
  EXPECT_EQ(BlockRecord(26), Bytes({0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xFF, 0xFF, 0xAB}));
  EXPECT_EQ(BlockRecord(5), Bytes({0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0xFF, 0xFF, 0xFF}));

  EXPECT_EQ(Rom->EsperTable[0][9], 10);
  EXPECT_EQ(Rom->EsperTable[0][10], 0);
  EXPECT_EQ(Rom->EsperTable[0][11], 0xFF);
  EXPECT_EQ(Rom->EsperTable[0][12], 11);
  EXPECT_EQ(Rom->EsperTable[5][12], 0xFF);
  EXPECT_EQ(Rom->RecordSize, 13);

  // Only the 351 bytes of the six-slot block changed.
  const std::size_t start = header + 0x186E00, end = start + 351;
  for (std::size_t i = 0; i < before.size(); ++i)
    if (i < start || i >= end) {
      ASSERT_EQ(Rom->Buffer[i], before[i]) << i;
    }
}

TEST_P(FiveToSixShift, SavedImageHoldsTheSixthRateAsZero) {
  const std::size_t header = GetParam();
  LoadFiveSlotImage(header);
  Rom->ShiftFiveToSix();
  ASSERT_TRUE(Rom->SaveFile()) << Rom->ErrorText.Str();
  Bytes saved = ReadFileBytes(Path);
  Bytes record0(saved.begin() + header + 0x186E00, saved.begin() + header + 0x186E00 + 13);
  EXPECT_EQ(record0, Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0x00, 0xFF, 11}));
  EXPECT_EQ(saved[header + 0x26295], 0x0D);  // the patch reached the file with the records
}

INSTANTIATE_TEST_SUITE_P(Headers, FiveToSixShift, ::testing::Values(std::size_t{0}, std::size_t{0x200}));

}  // namespace
