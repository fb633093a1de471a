#include "ExpectedBytes.h"
#include "RomFixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes WithProbes(Bytes bytes, std::uint8_t a, std::uint8_t b, std::size_t header = 0) {
  bytes[0x26295 + header] = a;
  bytes[0x359E1 + header] = b;
  return bytes;
}

Bytes TextBytes(const CString& text) { return Bytes(text.View().begin(), text.View().end()); }

class EsperData : public RomFixture {
 protected:
  bool PatchPresent() const {
    for (const Expected::PatchRun& run : Expected::SixSlotPatch)
      for (std::size_t i = 0; i < run.Values.size(); ++i)
        if (Rom->PeekByte(run.Offset + i) != run.Values[i]) return false;
    return true;
  }
};

TEST_F(EsperData, PatchWritesExactlyItsBytesAndNothingElse) {
  Bytes bytes = WithProbes(ImageBytes(0x280200), 0x0B, 0x0B, 0x200);
  ASSERT_TRUE(Load(bytes));
  Rom->ReadEsperData();
  EXPECT_EQ(Rom->RecordSize, 13);

  const Bytes expected = Expected::WithSixSlotPatch(bytes, 0x200);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), Rom->Buffer.get()));
}

struct ProbeCase {
  const char* Name;
  std::uint8_t A, B;
  int RecordSizeBefore;
  bool Patched;
  int RecordSizeAfter;
  friend void PrintTo(const ProbeCase& c, std::ostream* out) { *out << c.Name; }
};

class RecordSizeProbe : public EsperData, public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(RecordSizeProbe, DecidesTheRecordSizeAndThePatch) {
  const ProbeCase& c = GetParam();
  Bytes bytes = WithProbes(ImageBytes(), c.A, c.B);
  ASSERT_TRUE(Load(bytes));
  Rom->RecordSize = c.RecordSizeBefore;
  Rom->ReadEsperData();
  EXPECT_EQ(PatchPresent(), c.Patched);
  EXPECT_EQ(Rom->RecordSize, c.RecordSizeAfter);

  // The records are read with the record size the probe left.
  for (int i : {0, 26})
    for (int j = 0; j < std::min(c.RecordSizeAfter, 32); ++j)
      ASSERT_EQ(Rom->EsperTable[i][j], bytes[0x186E00 + i * c.RecordSizeAfter + j]) << i << "," << j;
  if (c.RecordSizeAfter < 32) {
    EXPECT_EQ(Rom->EsperTable[0][c.RecordSizeAfter], 0);  // slots past the record keep theirs
  }
}

INSTANTIATE_TEST_SUITE_P(
    Probes, RecordSizeProbe,
    ::testing::Values(ProbeCase{"FiveSlot", 0x0B, 0x0B, 11, true, 13}, ProbeCase{"SixSlot", 0x0D, 0x0D, 11, false, 13},
                      ProbeCase{"DisagreeOnFirstLoad", 0x0B, 0x0D, 11, true, 13},
                      ProbeCase{"DisagreeAfterAPatchedLoad", 0x0B, 0x0D, 13, false, 13},
                      ProbeCase{"Twelve", 0x0C, 0x0C, 11, false, 12}, ProbeCase{"ThirtyTwo", 0x20, 0x20, 11, false, 32},
                      // Longer records: the first 32 bytes of each, at its own stride.
                      ProbeCase{"LongerThanARow", 0x21, 0x21, 11, false, 33},
                      ProbeCase{"Longest", 0xFF, 0xFF, 13, false, 255}),
    [](const ::testing::TestParamInfo<ProbeCase>& probe) { return std::string(probe.param.Name); });

TEST_F(EsperData, ZeroRecordSizeReadsNoRecords) {
  ASSERT_TRUE(Load(WithProbes(ImageBytes(), 0, 0)));
  Rom->EsperTable[2][2] = 77;
  Rom->ReadEsperData();
  EXPECT_EQ(Rom->RecordSize, 0);
  EXPECT_EQ(Rom->EsperTable[2][2], 77);
}

TEST_F(EsperData, NamesComeFromTheirBlocksAndTheRestAreGenerated) {
  Bytes bytes = WithProbes(ImageBytes(), 0x0D, 0x0D);
  const Bytes spell = {0x92, 0xA9, 0x9E, 0x00, 0xA5, 0xA5, 0xFF};  // cut at its fourth byte
  std::copy(spell.begin(), spell.end(), bytes.begin() + 0x26F567 + 7 * 5);
  const Bytes esper = {0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87};  // no 0x00: all 8 bytes
  std::copy(esper.begin(), esper.end(), bytes.begin() + 0x26F6E1 + 8 * 26);
  const Bytes bonus = {0x81, 0x82, 0x00, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01};
  std::copy(bonus.begin(), bonus.end(), bytes.begin() + 0xFFEAE + 9 * 16);
  ASSERT_TRUE(Load(bytes));
  Rom->ReadEsperData();

  EXPECT_EQ(TextBytes(Rom->SpellNames[5]), Bytes({0x92, 0xA9, 0x9E}));
  EXPECT_EQ(TextBytes(Rom->EsperNames[26]), esper);
  EXPECT_EQ(TextBytes(Rom->BonusNames[16]), Bytes({0x81, 0x82}));
  EXPECT_EQ(TextBytes(Rom->BonusNames[17]), Bytes({0xB4, 0xD7, 0xB5, 0xB5}));
  EXPECT_EQ(TextBytes(Rom->BonusNames[127]), Bytes({0xB4, 0xD7, 0xBB, 0x85}));
  EXPECT_EQ(TextBytes(Rom->BonusNames[254]), Bytes({0xB4, 0xD7, 0x85, 0x84}));
  for (int i = 54; i < 57; ++i) EXPECT_TRUE(Rom->SpellNames[i].IsEmpty());
  for (int i = 27; i < 31; ++i) EXPECT_TRUE(Rom->EsperNames[i].IsEmpty());
  EXPECT_EQ(Rom->HexDigits[9], 0xBD);
  EXPECT_EQ(Rom->HexDigits[15], 0x85);
}

TEST_F(EsperData, WriteRecordsStoresLowBytesOfExactlyTheRecords) {
  Bytes bytes = WithProbes(ImageBytes(), 0x0D, 0x0D);
  ASSERT_TRUE(Load(bytes));
  Rom->ReadEsperData();
  Rom->EsperTable[0][0] = 0x1FF;
  Rom->EsperTable[26][12] = 0x100 + 0x42;
  Rom->WriteRecords(27, 13, Rom->EsperTable, 0x186E00);

  Bytes expected = bytes;
  expected[0x186E00] = 0xFF;
  expected[0x186E00 + 26 * 13 + 12] = 0x42;
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), Rom->Buffer.get()));

  EsperRecords written = Rom->EsperTable;
  Rom->ReadRecords(27, 13, Rom->EsperTable, 0x186E00);
  for (int i = 0; i < 27; ++i)
    for (int j = 0; j < 13; ++j) EXPECT_EQ(Rom->EsperTable[i][j], written[i][j] & 0xFF);
}

TEST_F(EsperData, RecordOperationsStayInsideTheTable) {
  ASSERT_TRUE(Load(ImageBytes()));
  EsperRecords before = Rom->EsperTable;
  Rom->ReadRecords(40, 40, Rom->EsperTable, 0x186E00);  // reads a 40 x 40 block, keeps 31 x 32
  EXPECT_EQ(Rom->EsperTable[30][31], Rom->PeekByte(0x186E00 + 30 * 40 + 31));
  EXPECT_NE(Rom->EsperTable, before);
  Rom->WriteRecords(40, 40, Rom->EsperTable, 0x186E00);
}

}  // namespace
