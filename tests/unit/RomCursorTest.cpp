#include "RomFixture.h"

namespace {

// The byte cursor and the reads by ROM offset.
class RomCursor : public RomFixture {};

constexpr std::uint64_t Somewhere = 0x100000;

TEST_F(RomCursor, CursorReadsAndWritesByteByByte) {
  std::vector<std::uint8_t> bytes = ImageBytes(0x280200);
  ASSERT_TRUE(Load(bytes));
  Rom->SeekRom(Somewhere);
  EXPECT_EQ(Rom->ReadByte(), bytes[Somewhere + 0x200]);
  EXPECT_EQ(Rom->ReadByte(), bytes[Somewhere + 0x201]);

  Rom->SeekRom(Somewhere);
  Rom->WriteByte(0x1FF);
  Rom->WriteByte(-2);
  EXPECT_EQ(Rom->Cursor, Somewhere + 0x202);
  EXPECT_EQ(Rom->PeekByte(Somewhere), 0xFF);
  EXPECT_EQ(Rom->PeekByte(Somewhere + 1), 0xFE);
}

TEST_F(RomCursor, PeekAndReadTextLeaveTheCursorWhereItWas) {
  std::vector<std::uint8_t> bytes = ImageBytes();
  ASSERT_TRUE(Load(bytes));
  Rom->SeekRom(Somewhere);
  Rom->PeekByte(0x200);
  Rom->ReadText(9, 0x300);
  EXPECT_EQ(Rom->ReadByte(), bytes[Somewhere]);
}

struct TextCase {
  std::vector<std::uint8_t> Field;
  int LargeImage;
  std::vector<std::uint8_t> Expected;
  friend void PrintTo(const TextCase& c, std::ostream* out) {
    *out << "field";
    for (std::uint8_t byte : c.Field) *out << ' ' << std::hex << std::uppercase << (byte >> 4) << (byte & 0xF);
    *out << std::dec << (c.LargeImage ? " in a large image" : "");
  }
};

class ReadTextCases : public RomFixture, public ::testing::WithParamInterface<TextCase> {};

TEST_P(ReadTextCases, CutsAtTheFirstZeroUnlessTheImageIsLarge) {
  const TextCase& c = GetParam();
  std::vector<std::uint8_t> bytes = ImageBytes();
  std::copy(c.Field.begin(), c.Field.end(), bytes.begin() + Somewhere);
  ASSERT_TRUE(Load(bytes));
  Rom->LargeImage = c.LargeImage;
  CString text = Rom->ReadText(static_cast<int>(c.Field.size()), Somewhere);
  EXPECT_EQ(std::vector<std::uint8_t>(text.View().begin(), text.View().end()), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Fields, ReadTextCases,
                         ::testing::Values(TextCase{{0x41, 0x42, 0x00, 0x43, 0x44, 0x45, 0x46}, 0, {0x41, 0x42}},
                                           TextCase{{0x41, 0x42, 0x00, 0x43, 0x44, 0x45, 0x46},
                                                    1,
                                                    {0x41, 0x42, 0x20, 0x43, 0x44, 0x45, 0x46}},
                                           TextCase{{0x00, 0x42, 0x43}, 0, {}},
                                           TextCase{{0x00, 0x00, 0x43}, 1, {0x20, 0x20, 0x43}},
                                           TextCase{{0xFE, 0xFF, 0x01, 0x80}, 0, {0xFE, 0xFF, 0x01, 0x80}}));

TEST_F(RomCursor, NothingIsReadOrWrittenPastTheBytesHeld) {
  ASSERT_TRUE(Load(ImageBytes(0x1000)));
  Rom->SetHeaderSize(0xFFFF);
  Rom->SeekRom(0x26F7B0);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(Rom->ReadByte(), 0);
  Rom->SeekRom(0x26F7B0);
  for (int i = 0; i < 20; ++i) Rom->WriteByte(0xAB);
  EXPECT_EQ(Rom->PeekByte(0x26F7B0), 0);
  EXPECT_TRUE(Rom->ReadText(8, 0x26F6E1).IsEmpty());

  // The whole load sequence and the shift on an image far too short stay inside it.
  Rom->ReadEsperData();
  Rom->ShiftFiveToSix();
  EXPECT_EQ(Rom->EsperTable[0][0], 0);
}

TEST_F(RomCursor, WithoutAnImageReadsGiveZeroAndWritesAreDropped) {
  Rom->SeekRom(0);
  EXPECT_EQ(Rom->ReadByte(), 0);
  Rom->WriteByte(1);
  EXPECT_EQ(Rom->PeekByte(0), 0);
  EXPECT_FALSE(Rom->SaveFile());
}

}  // namespace
