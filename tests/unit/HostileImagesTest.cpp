// Every hostile image goes the whole way a user would take it: Load, every item drawn, edits
// in every field, "5->6", Save. Under the sanitizers this shows that nothing reads or writes
// out of bounds; here it also shows that each is either edited or refused with a message
// that says why, and that the file never changes length.

#include "EditorFixture.h"
#include "HostileImages.h"

namespace {

class HostileImagesTest : public EditorFixture, public ::testing::WithParamInterface<HostileImage> {
 protected:
  void DrawEveryItem() {
    CMemoryDC target;
    ASSERT_TRUE(target.CreateCompatibleDC(nullptr));
    ASSERT_TRUE(target.Bitmap.CreateCompatibleBitmap(nullptr, 256, 16));
    target.SelectObject(&target.Bitmap);
    for (int id = IDC_ESPER; id <= IDC_BONUS; ++id)
      for (int item = -1; item < Count(id); ++item)
        for (UINT state : {0u, ODS_SELECTED, ODS_COMBOBOXEDIT})
          Headless::DrawComboItem(*Dialog, id, item, state, RECT{0, 2, 256, 14}, target.GetSafeHdc());
  }
};

TEST_P(HostileImagesTest, IsEditedOrRefusedAndNeverResized) {
  const HostileImage& image = GetParam();
  const std::vector<std::uint8_t> bytes = image.Make();
  const std::string path = Load(bytes);

  if (!image.Loads()) {
    EXPECT_EQ(Dialog->RomLoaded, 0);
    EXPECT_FALSE(g_rom.HoldsImage());
    ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(Headless::MessageBoxes()[0].rfind("Could not load " + path + ":\n", 0), 0u)
        << Headless::MessageBoxes()[0];
    EXPECT_NE(Headless::MessageBoxes()[0].find(image.Refusal), std::string::npos) << Headless::MessageBoxes()[0];
    EXPECT_EQ(ReadFileBytes(path), bytes);
    return;
  }
  ASSERT_EQ(Dialog->RomLoaded, 1) << (Headless::MessageBoxes().empty() ? "" : Headless::MessageBoxes()[0]);
  EXPECT_EQ(Count(IDC_ESPER), 27);
  EXPECT_EQ(Count(IDC_SPELL1), 55);
  EXPECT_EQ(Count(IDC_BONUS), 256);
  DrawEveryItem();

  for (int esper : {26, 0}) {
    Headless::PickItem(*Dialog, IDC_ESPER, esper);
    Headless::TypeOver(*Dialog, IDC_RATE6, "255");
    Headless::PickItem(*Dialog, IDC_SPELL6, 54);
    Headless::PickItem(*Dialog, IDC_BONUS, 255);
  }
  // "5->6" moves records into 13-byte rows only; for rows of another size it says why instead.
  const bool shifts = g_rom.RecordSize == RomLayout::SixSlotRecordSize;
  Headless::AnswerNextModal(IDOK);
  Headless::PressCommand(*Dialog, ID_SHIFT_DATA);
  Headless::PressCommand(*Dialog, ID_FILE_SAVE);
  EXPECT_EQ(Headless::MessageBoxes().size(), shifts ? 0u : 1u);
  EXPECT_EQ(ReadFileBytes(path).size(), bytes.size());
}

INSTANTIATE_TEST_SUITE_P(Images, HostileImagesTest, ::testing::ValuesIn(HostileImages()),
                         [](const ::testing::TestParamInfo<HostileImage>& image) { return image.param.Name; });

}  // namespace

namespace {

using Bytes = std::vector<std::uint8_t>;

struct ProbePair {
  const char* Name;
  std::uint8_t A, B;
  bool Known;
  friend void PrintTo(const ProbePair& probes, std::ostream* out) { *out << probes.Name; }
};

// The record-size probes decide whether the editor knows an image's esper code. Faults this
// catches: the six-slot code patch written into an image the editor does not recognise (and
// only on the first load of a run), fields showing another image's values where a short row
// does not reach, and edits of those fields dropped at Save without a word.
class RecordSizeProbes : public EditorFixture, public ::testing::WithParamInterface<ProbePair> {};

TEST_P(RecordSizeProbes, UnknownCodeIsRefusedAndKnownCodeIsEditedInPlace) {
  const ProbePair& probes = GetParam();
  Bytes bytes = Sample(true);
  bytes[RomLayout::RecordSizeProbeA] = probes.A;
  bytes[RomLayout::RecordSizeProbeB] = probes.B;
  const Bytes good = Sample(true, false, 2);
  const int size = probes.A;

  for (bool afterAGoodImage : {false, true}) {
    SCOPED_TRACE(afterAGoodImage ? "loaded after a good image" : "loaded first");
    if (afterAGoodImage) Load(good, "good.smc");
    Headless::ClearMessageBoxes();
    const std::string esperBefore = Count(IDC_ESPER) ? Item(IDC_ESPER, 0) : "";
    const std::string path = Load(bytes);

    if (!probes.Known) {
      EXPECT_EQ(Dialog->RomLoaded, 0);
      ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
      char values[32];
      std::snprintf(values, sizeof values, "0x%02X and 0x%02X", probes.A, probes.B);
      EXPECT_NE(Headless::MessageBoxes()[0].find(values), std::string::npos) << Headless::MessageBoxes()[0];
      EXPECT_EQ(Count(IDC_ESPER), afterAGoodImage ? 27 : 0);
      EXPECT_EQ(Count(IDC_ESPER) ? Item(IDC_ESPER, 0) : "", esperBefore);
      Headless::PressCommand(*Dialog, ID_FILE_SAVE);
      EXPECT_EQ(ReadFileBytes(path), bytes);
      continue;
    }
    ASSERT_EQ(Dialog->RomLoaded, 1);
    EXPECT_EQ(g_rom.RecordSize, size);
    Headless::PickItem(*Dialog, IDC_ESPER, 26);
    Headless::TypeOver(*Dialog, IDC_RATE6, "7");
    Headless::PickItem(*Dialog, IDC_SPELL6, 1);
    Headless::PickItem(*Dialog, IDC_BONUS, 3);
    Headless::PressCommand(*Dialog, ID_FILE_SAVE);
    EXPECT_TRUE(Headless::MessageBoxes().empty());
    Bytes expected = bytes;  // no code patch: only the three slots of esper 26, at its stride
    const std::size_t record = RomLayout::EsperDataBlock + 26 * static_cast<std::size_t>(size);
    expected[record + 10] = 7;
    expected[record + 11] = 0;
    expected[record + 12] = 3;
    EXPECT_EQ(ReadFileBytes(path), expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Probes, RecordSizeProbes,
    ::testing::Values(ProbePair{"Disagree", 0x0B, 0x0D, false}, ProbePair{"Twelve", 0x0C, 0x0C, false},
                      ProbePair{"Zero", 0x00, 0x00, false}, ProbePair{"Ten", 0x0A, 0x0A, false},
                      ProbePair{"Fourteen", 0x0E, 0x0E, true}, ProbePair{"ThirtyTwo", 0x20, 0x20, true},
                      ProbePair{"ThirtyThree", 0x21, 0x21, true}, ProbePair{"Longest", 0xFF, 0xFF, true}),
    [](const ::testing::TestParamInfo<ProbePair>& probe) { return std::string(probe.param.Name); });

}  // namespace
