// Every hostile image goes the whole way a user would take it: Load, every item drawn, edits
// in every field, "5->6", Save. Under the sanitizers this shows that nothing reads or writes
// out of bounds; here it also shows that each is either edited or refused with a message,
// and that the file never changes length.

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

  if (!image.Loads) {
    EXPECT_EQ(Dialog->RomLoaded, 0);
    EXPECT_EQ(Headless::MessageBoxes().size(), 1u);
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
    Headless::TypeText(*Dialog, IDC_RATE6, "255");
    Headless::PickItem(*Dialog, IDC_SPELL6, 54);
    Headless::PickItem(*Dialog, IDC_BONUS, 255);
  }
  Headless::AnswerNextModal(IDOK);
  Headless::PressCommand(*Dialog, ID_SHIFT_DATA);
  Headless::PressCommand(*Dialog, ID_FILE_SAVE);
  EXPECT_TRUE(Headless::MessageBoxes().empty());
  EXPECT_EQ(ReadFileBytes(path).size(), bytes.size());
}

INSTANTIATE_TEST_SUITE_P(Images, HostileImagesTest, ::testing::ValuesIn(HostileImages()),
                         [](const ::testing::TestParamInfo<HostileImage>& image) { return image.param.Name; });

}  // namespace
