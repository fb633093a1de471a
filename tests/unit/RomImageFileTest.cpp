#include <cstdio>
#include <filesystem>

#include "RomFixture.h"
#include "framework/headless/HeadlessFileDialog.h"

namespace {

// Loading and saving the image file.
class ImageFile : public RomFixture {};

struct ClampCase {
  std::size_t FileLength;
  int LargeImage;
  std::uint32_t ImageLength;
  int HeaderSize;
  friend void PrintTo(const ClampCase& c, std::ostream* out) {
    *out << "a file of 0x" << std::hex << std::uppercase << c.FileLength << std::dec << " bytes";
  }
};

class ImageLengthClamp : public RomFixture, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(ImageLengthClamp, FollowsTheFileLengthUpTo8MiB) {
  const ClampCase& c = GetParam();
  ASSERT_TRUE(Load(ImageBytes(c.FileLength)));
  EXPECT_EQ(Rom->LargeImage, c.LargeImage);
  EXPECT_EQ(Rom->GetImageLength(), c.ImageLength);
  EXPECT_EQ(Rom->HeaderSize, c.HeaderSize);
  EXPECT_EQ(Rom->BufferSize, c.FileLength);  // every byte of the file is held
}

INSTANTIATE_TEST_SUITE_P(Lengths, ImageLengthClamp,
                         ::testing::Values(ClampCase{0x7FFFFF, 0, 0x7FFFFF, 0xFFFF},
                                           ClampCase{0x800000, 1, 0x800000, 0},
                                           ClampCase{0x1000000, 1, 0x800000, 0}));

TEST_F(ImageFile, HeaderIsTheLengthModulo64KiB) {
  std::vector<std::uint8_t> bytes = ImageBytes(0x280200);
  ASSERT_TRUE(Load(bytes));
  EXPECT_EQ(Rom->HeaderSize, 0x200);
  Rom->SeekRom(0x186E00);
  EXPECT_EQ(Rom->Cursor, 0x186E00u + 0x200u);
  EXPECT_EQ(Rom->PeekByte(0x26295), bytes[0x26295 + 0x200]);

  ASSERT_TRUE(Load(ImageBytes(0x280000, 2)));
  EXPECT_EQ(Rom->HeaderSize, 0);
}

TEST_F(ImageFile, SaveWritesTheImageInPlaceAndKeepsWhatLiesPast8MiB) {
  std::vector<std::uint8_t> bytes = ImageBytes(0x1000000);
  ASSERT_TRUE(Load(bytes));
  ASSERT_TRUE(Rom->CheckImageExtent());
  Rom->ReadEsperData();
  Rom->EsperTable[3][5] = 0x2A;

  // Someone else changes the tail on disk; Save must not write over it.
  std::vector<std::uint8_t> onDisk = bytes;
  for (std::size_t i = 0x800000; i < onDisk.size(); i += 0x1000) onDisk[i] ^= 0x5A;
  Dir.Write("image.smc", onDisk);

  ASSERT_TRUE(Rom->SaveFile()) << Rom->ErrorText.Str();
  std::vector<std::uint8_t> saved = ReadFileBytes(Path);
  ASSERT_EQ(saved.size(), bytes.size());
  EXPECT_TRUE(std::equal(saved.begin() + 0x800000, saved.end(), onDisk.begin() + 0x800000));
  EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 0x800000, Rom->Buffer.get()));
  EXPECT_EQ(saved[0x186E00 + 3 * 13 + 5], 0x2A);
}

TEST_F(ImageFile, SaveWritesTheRecordsIntoTheBufferEvenWhenTheFileCannotBeOpened) {
  std::vector<std::uint8_t> bytes = ImageBytes();
  ASSERT_TRUE(Load(bytes));
  Rom->ReadEsperData();
  Rom->EsperTable[0][0] = 0x1C7;
  std::filesystem::remove(Path);

  EXPECT_FALSE(Rom->SaveFile());
  EXPECT_FALSE(Rom->ErrorText.IsEmpty());
  EXPECT_EQ(BufferAtRom(RomLayout::EsperDataBlock), 0xC7);
  EXPECT_FALSE(std::filesystem::exists(Path));  // never created
}

TEST_F(ImageFile, SaveRefusesAFileThatWouldGrowAndLeavesIt) {
  ASSERT_TRUE(Load(ImageBytes()));
  Rom->ReadEsperData();
  std::vector<std::uint8_t> shorter = ImageBytes(0x270000, 3);
  Dir.Write("image.smc", shorter);

  EXPECT_FALSE(Rom->SaveFile());
  EXPECT_NE(Rom->ErrorText.Str().find("shorter"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(Path), shorter);
}

TEST_F(ImageFile, SaveRefusesAReadOnlyFileAndLeavesIt) {
  std::vector<std::uint8_t> bytes = ImageBytes();
  ASSERT_TRUE(Load(bytes));
  Rom->ReadEsperData();
  Rom->EsperTable[1][1] = 7;
  ReadOnlyFile readOnly(Path);
  EXPECT_FALSE(Rom->SaveFile());
  EXPECT_FALSE(Rom->ErrorText.IsEmpty());
  EXPECT_EQ(ReadFileBytes(Path), bytes);
}

// A failed load leaves no image, zeroes the image facts, and keeps what the earlier
// image put into the table and the record size.
void ExpectFailedLoadKeepsEarlierData(const CRomImage& rom, const EsperRecords& table) {
  EXPECT_FALSE(rom.HoldsImage());
  EXPECT_EQ(rom.LargeImage, 0);
  EXPECT_EQ(rom.HeaderSize, 0);
  EXPECT_EQ(rom.GetImageLength(), 0u);
  EXPECT_EQ(rom.Cursor, 0u);
  EXPECT_EQ(rom.RecordSize, 13);
  EXPECT_EQ(rom.EsperTable, table);
  EXPECT_FALSE(rom.ErrorText.IsEmpty());
}

TEST_F(ImageFile, LoadOfAMissingFileFailsAndKeepsEarlierData) {
  ASSERT_TRUE(Load(ImageBytes()));
  Rom->ReadEsperData();
  EsperRecords table = Rom->EsperTable;

  Rom->SetPath(CString(Dir.PathOf("missing.smc").c_str()));
  EXPECT_EQ(Rom->LoadFile(), 0);
  ExpectFailedLoadKeepsEarlierData(*Rom, table);
  EXPECT_EQ(Rom->Path.Str(), Dir.PathOf("missing.smc"));
  EXPECT_EQ(Rom->FailureMessage("load").Str(), "Could not load " + Dir.PathOf("missing.smc") + ":\n" +
                                                    Rom->ErrorText.Str() + ".");
  EXPECT_EQ(Rom->LoadFile(), 0);  // a second failure releases nothing twice

  // A message never ends in ":\n." for want of a reason.
  Rom->ErrorText.Empty();
  EXPECT_EQ(Rom->FailureMessage("save").Str(),
            "Could not save " + Dir.PathOf("missing.smc") + ":\nthe system gave no reason.");
}

TEST_F(ImageFile, LoadOfAReadOnlyFileFailsAndKeepsEarlierData) {
  ASSERT_TRUE(Load(ImageBytes()));
  Rom->ReadEsperData();
  EsperRecords table = Rom->EsperTable;

  std::string other = Dir.Write("locked.smc", ImageBytes(0x280000, 9));
  ReadOnlyFile readOnly(other);
  Rom->SetPath(CString(other.c_str()));
  EXPECT_EQ(Rom->LoadFile(), 0);
  ExpectFailedLoadKeepsEarlierData(*Rom, table);
}

TEST_F(ImageFile, LoadRefusesAFolder) {
  Rom->SetPath(CString(Dir.PathOf("").c_str()));
  EXPECT_EQ(Rom->LoadFile(), 0);
  EXPECT_FALSE(Rom->HoldsImage());
}

TEST_F(ImageFile, ExtentCheckRefusesAFileThatEndsBeforeTheLastLocation) {
  const std::size_t exact = RomLayout::ImageEnd;
  // A length decides its own header, so find the shortest length whose data still fits.
  std::size_t shortest = 0;
  for (std::size_t length = exact; length < exact + 0x20000; ++length)
    if (length >= (length % 0x10000) + exact) { shortest = length; break; }
  ASSERT_NE(shortest, 0u);

  ASSERT_TRUE(Load(ImageBytes(shortest)));
  EXPECT_TRUE(Rom->CheckImageExtent());

  ASSERT_TRUE(Load(ImageBytes(shortest - 1)));
  EXPECT_FALSE(Rom->CheckImageExtent());
  EXPECT_FALSE(Rom->HoldsImage());
  EXPECT_NE(Rom->ErrorText.Str().find("too short"), std::string::npos);

  for (std::size_t length : {std::size_t{0}, std::size_t{1}, exact - 1}) {
    ASSERT_TRUE(Load(ImageBytes(length)));
    EXPECT_FALSE(Rom->CheckImageExtent()) << length;
  }
}

TEST_F(ImageFile, ChooseFileOffersRomFilesAndKeepsThePathOnCancel) {
  Headless::ClearFileDialogAnswers();
  Rom->SetPath("before.smc");
  Headless::CancelFileDialog();
  EXPECT_EQ(Rom->ChooseFile(), 0);
  EXPECT_EQ(Rom->Path.Str(), "before.smc");

  std::optional<CFileDialog> dialog = Headless::LastFileDialog();
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(dialog->OpenFileDialog);
  EXPECT_EQ(dialog->Flags, 0x1804u);
  EXPECT_TRUE(dialog->DefaultExtension.IsEmpty());
  EXPECT_TRUE(dialog->FileName.IsEmpty());
  EXPECT_EQ(dialog->Filter.Str(),
            "SNES ROM Files (*.smc;*.fig;*.sfc)|*.smc;*.fig;*.sfc|GBA ROM Files (*.gba)|*.gba|All Files (*.*)|*.*||");

  Headless::AnswerFileDialog("/images/chosen.sfc");
  EXPECT_EQ(Rom->ChooseFile(), 1);
  EXPECT_EQ(Rom->Path.Str(), "/images/chosen.sfc");
}

}  // namespace
