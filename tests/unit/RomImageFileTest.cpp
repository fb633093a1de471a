#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>

#include "ExpectedBytes.h"
#include "RomFixture.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVERO_TEST_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) && !defined(TAVERO_TEST_ASAN)
#define TAVERO_TEST_ASAN 1
#endif
#if defined(TAVERO_TEST_ASAN)
#include <sanitizer/asan_interface.h>
#endif
#include "framework/headless/HeadlessFileDialog.h"
#include "rom/SaveOrder.h"
#include "rom/SavePatch.h"

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
                                           ClampCase{0x800000, 1, 0x800000, 0}, ClampCase{0x1000000, 1, 0x800000, 0},
                                           ClampCase{0x288000, 0, 0x288000, 0x8000},
                                           ClampCase{0x2801FF, 0, 0x2801FF, 0x1FF},
                                           ClampCase{0x800200, 1, 0x800000, 0}));

// Faults: a kept buffer taken for a file longer than it holds room for, a byte of the last
// file left where this one has its own, the fingerprint of another file (or of the buffer after
// the load's patch), and (under AddressSanitizer) a buffer longer than the
// file whose end is not out of bounds, so that a read past the image goes unseen.
TEST_F(ImageFile, EachLoadHoldsExactlyItsFileWhateverWasLoadedBefore) {
  std::uint32_t seed = 10;
  for (std::size_t length : {0x300000, 0x280003, 0x300000, 0x2801FF, 0x800200, 1, 0x280000, 0x800201}) {
    const std::vector<std::uint8_t> bytes = ImageBytes(length, ++seed);
    ASSERT_TRUE(Load(bytes));
    ASSERT_EQ(Rom->BufferSize, length);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), Rom->Buffer.get())) << "length 0x" << std::hex << length;
    EXPECT_EQ(Rom->Loaded, FileFingerprint::Of(bytes)) << "length 0x" << std::hex << length;
#if defined(TAVERO_TEST_ASAN)
    EXPECT_TRUE(__asan_address_is_poisoned(Rom->Buffer.get() + length)) << "length 0x" << std::hex << length;
    EXPECT_FALSE(__asan_address_is_poisoned(Rom->Buffer.get() + length - 1)) << "length 0x" << std::hex << length;
#endif
  }
}

// Faults: a byte (in the lanes, the whole words after them or the last few bytes) or a length
// that leaves the fingerprint as it was, so that a changed file passes for the one loaded; a
// hash that changes between builds or platforms, so that every recovery file stops matching.
TEST(FileFingerprint, ChangesWithEveryByteAndTheLengthAndStaysTheSameEverywhere) {
  std::vector<std::uint8_t> bytes(75);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 37);
  const FileFingerprint original = FileFingerprint::Of(bytes);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] ^= 0x01;
    EXPECT_NE(FileFingerprint::Of(bytes).Hash, original.Hash) << "byte " << i;
    bytes[i] ^= 0x01;
  }
  bytes.push_back(0);
  EXPECT_NE(FileFingerprint::Of(bytes).Hash, original.Hash) << "a zero byte added";
  EXPECT_EQ(FileFingerprint::Of({}).Hash, 0x256B507DFB6D7929u);
  EXPECT_EQ(original.Hash, 0xD2115EB67B0B7719u);
}

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

// Faults: a save over another program's change without a question; past 8 MiB, bytes written
// from memory (as loaded) instead of the file as it is at the save.
TEST_F(ImageFile, SaveAsksBeforeOtherChangesAndKeepsWhatLiesPast8MiBOnDisk) {
  std::vector<std::uint8_t> bytes = ImageBytes(0x1000000);
  ASSERT_TRUE(Load(bytes));
  ASSERT_TRUE(Rom->CheckImageExtent());
  Rom->ReadEsperData();
  Rom->EsperTable[3][5] = 0x2A;

  // Someone else changes the tail on disk; Save must not write over it.
  std::vector<std::uint8_t> onDisk = bytes;
  for (std::size_t i = 0x800000; i < onDisk.size(); i += 0x1000) onDisk[i] ^= 0x5A;
  Dir.Write("image.smc", onDisk);
  EXPECT_FALSE(Rom->SaveFile());
  EXPECT_TRUE(Rom->ChangedOnDisk);
  EXPECT_EQ(ReadFileBytes(Path), onDisk);

  ASSERT_TRUE(Rom->SaveFile(true)) << Rom->ErrorText.Str();
  EXPECT_FALSE(Rom->ChangedOnDisk);
  std::vector<std::uint8_t> saved = ReadFileBytes(Path);
  ASSERT_EQ(saved.size(), bytes.size());
  EXPECT_TRUE(std::equal(saved.begin() + 0x800000, saved.end(), onDisk.begin() + 0x800000));
  EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 0x800000, Rom->Buffer.get()));
  EXPECT_EQ(saved[0x186E00 + 3 * 13 + 5], 0x2A);
}

// A save into the file itself once wrote the whole image from offset 0, so the probes (below
// the records) flipped to six-slot before the records were shifted: a stop between left a
// mixed image. Faults: a probe written before the other runs, the two probes apart (a stop
// between leaves them disagreeing), unchanged bytes written, the header not counted.
TEST(SaveOrder, WritesOnlyWhatChangesWithTheRecordSizeProbesLastInOneRun) {
  using Formats::ByteRun;
  for (std::uint64_t header : {0, 0x200}) {
    const std::vector<std::uint8_t> disk = PatternedBytes(0x280000 + header);
    std::vector<std::uint8_t> image = disk;
    for (std::uint64_t rom : {RomLayout::RecordSizeProbeA, RomLayout::RecordSizeProbeB, std::uint64_t{0x3F1F0},
                              RomLayout::EsperDataBlock, RomLayout::EsperDataBlock + 350})
      image[rom + header] ^= 1;
    const std::vector<ByteRun> runs = SaveOrder::RunsToWrite(disk, image, static_cast<int>(header));
    const std::vector<ByteRun> expected{
        {0x3F1F0 + header, 1},
        {RomLayout::EsperDataBlock + header, 351},
        {RomLayout::RecordSizeProbeA + header, RomLayout::RecordSizeProbeB - RomLayout::RecordSizeProbeA + 1}};
    EXPECT_EQ(runs, expected) << "header " << header;
  }
}

// Files a save cannot write, and what becomes of each: the save says why, the records are in
// Buffer all the same (its first step), and the file is as it was, or still absent.
struct SaveRefusal {
  const char* Name;
  std::function<void(TempDir& dir, const std::string& path)> Spoil;  // after the load
  const char* Why;                                                   // part of ErrorText; "" where the system words it
  friend void PrintTo(const SaveRefusal& refusal, std::ostream* out) { *out << refusal.Name; }
};

class SaveRefusals : public RomFixture, public ::testing::WithParamInterface<SaveRefusal> {};

TEST_P(SaveRefusals, SayWhyKeepTheRecordsInTheBufferAndLeaveTheFile) {
  ASSERT_TRUE(Load(ImageBytes()));
  Rom->ReadEsperData();
  Rom->EsperTable[0][0] = 0x1C7;
  GetParam().Spoil(Dir, Path);
  const bool existed = std::filesystem::exists(Path);
  const std::vector<std::uint8_t> before = existed ? ReadFileBytes(Path) : std::vector<std::uint8_t>{};
  std::optional<ReadOnlyFile> readOnly;
  if (std::string(GetParam().Name) == "ReadOnly") readOnly.emplace(Path);

  EXPECT_FALSE(Rom->SaveFile(true));  // even over the changes
  EXPECT_FALSE(Rom->ErrorText.IsEmpty());
  EXPECT_NE(Rom->ErrorText.Str().find(GetParam().Why), std::string::npos) << Rom->ErrorText.Str();
  EXPECT_EQ(BufferAtRom(RomLayout::EsperDataBlock), 0xC7);
  EXPECT_EQ(std::filesystem::exists(Path), existed) << "never created";
  if (existed) {
    EXPECT_EQ(ReadFileBytes(Path), before);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, SaveRefusals,
    ::testing::Values(
        SaveRefusal{"Deleted", [](TempDir&, const std::string& path) { std::filesystem::remove(path); }, ""},
        SaveRefusal{"ReadOnly", [](TempDir&, const std::string&) {}, ""},
        // writing the image would make the file longer than it now is
        SaveRefusal{"Shorter",
                    [](TempDir& dir, const std::string&) { dir.Write("image.smc", PatternedBytes(0x270000, 3)); },
                    "shorter"}),
    [](const ::testing::TestParamInfo<SaveRefusal>& refusal) { return std::string(refusal.param.Name); });

// The patch of what Save would write, held against what Save then writes. Faults: a header
// other than a copier header patched as none, a copier header left in the patch, the sides of
// a file of another length than the image taken, a save that changes nothing made a patch.
struct SavePatchCase {
  const char* Name;
  std::size_t Length;  // of the file; its header is what it has past a multiple of 0x10000
  bool Edited;         // records stored over the image's bytes, as Save's first step does
  std::size_t Longer;  // bytes the file given as the one on disk has past the one loaded
  SavePatch::Problem Refused;
  friend void PrintTo(const SavePatchCase& c, std::ostream* out) { *out << c.Name; }
};

class SavePatchSides : public RomFixture, public ::testing::WithParamInterface<SavePatchCase> {};

TEST_P(SavePatchSides, AreTheFileAndWhatSaveWritesFromRomOffsetZero) {
  const SavePatchCase& c = GetParam();
  std::vector<std::uint8_t> disk = ImageBytes(c.Length);
  ASSERT_TRUE(Load(disk));
  if (c.Edited) Rom->StoreRecords();  // an empty table over patterned bytes
  disk.resize(disk.size() + c.Longer);
  const SavePatch patch = SavePatch::Of(disk, *Rom);
  ASSERT_EQ(patch.Refused, c.Refused);
  if (c.Refused != SavePatch::Problem::None) return;
  ASSERT_TRUE(Rom->SaveFile()) << Rom->ErrorText.Str();
  const std::size_t header = c.Length % 0x10000;
  const std::vector<std::uint8_t> saved = ReadFileBytes(Path);
  EXPECT_EQ(Differences(patch.Target, {saved.begin() + static_cast<std::ptrdiff_t>(header), saved.end()}),
            std::vector<std::size_t>{});
  EXPECT_TRUE(std::equal(patch.Source.begin(), patch.Source.end(), disk.begin() + static_cast<std::ptrdiff_t>(header),
                         disk.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Files, SavePatchSides,
    ::testing::Values(SavePatchCase{"NoHeader", 0x280000, true, 0, SavePatch::Problem::None},
                      SavePatchCase{"CopierHeader", 0x280200, true, 0, SavePatch::Problem::None},
                      SavePatchCase{"OtherHeader", 0x280100, true, 0, SavePatch::Problem::HeaderNotLeftOut},
                      SavePatchCase{"OtherLength", 0x280000, true, 1, SavePatch::Problem::NotTheLoadedFile},
                      SavePatchCase{"Unedited", 0x280200, false, 0, SavePatch::Problem::NoChange}),
    [](const ::testing::TestParamInfo<SavePatchCase>& c) { return std::string(c.param.Name); });

// Files a load cannot read. Each fails, holds no image, zeroes the image facts, keeps what the
// earlier image put into the table and the record size, says why in the editor's words, and a
// second failure releases nothing twice.
struct LoadRefusal {
  const char* Name;
  std::function<std::string(TempDir& dir)> Make;  // the path to load
  friend void PrintTo(const LoadRefusal& refusal, std::ostream* out) { *out << refusal.Name; }
};

class LoadRefusals : public RomFixture, public ::testing::WithParamInterface<LoadRefusal> {};

TEST_P(LoadRefusals, FailAndKeepEarlierData) {
  ASSERT_TRUE(Load(ImageBytes()));
  Rom->ReadEsperData();
  const EsperRecords table = Rom->EsperTable;
  const std::string path = GetParam().Make(Dir);
  std::optional<ReadOnlyFile> readOnly;
  if (std::string(GetParam().Name) == "ReadOnly") readOnly.emplace(path);

  Rom->SetPath(CString(path.c_str()));
  for (int attempt = 0; attempt < 2; ++attempt) {
    EXPECT_EQ(Rom->LoadFile(), 0);
    EXPECT_FALSE(Rom->HoldsImage());
    EXPECT_EQ(Rom->LargeImage, 0);
    EXPECT_EQ(Rom->HeaderSize, 0);
    EXPECT_EQ(Rom->GetImageLength(), 0u);
    EXPECT_EQ(Rom->Cursor, 0u);
    EXPECT_EQ(Rom->RecordSize, 13);
    EXPECT_EQ(Rom->EsperTable, table);
    EXPECT_FALSE(Rom->ErrorText.IsEmpty());
    EXPECT_EQ(Rom->Path.Str(), path);
    EXPECT_EQ(Rom->FailureMessage("load").Str(), "Could not load " + path + ":\n" + Rom->ErrorText.Str() + ".");
  }
  // A message never ends in ":\n." for want of a reason.
  Rom->ErrorText.Empty();
  EXPECT_EQ(Rom->FailureMessage("save").Str(), "Could not save " + path + ":\nthe system gave no reason.");
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadRefusals,
    ::testing::Values(LoadRefusal{"Missing", [](TempDir& dir) { return dir.PathOf("missing.smc"); }},
                      LoadRefusal{"ReadOnly",
                                  [](TempDir& dir) { return dir.Write("locked.smc", PatternedBytes(0x280000, 9)); }},
                      LoadRefusal{"Folder", [](TempDir& dir) { return dir.PathOf(""); }}),
    [](const ::testing::TestParamInfo<LoadRefusal>& refusal) { return std::string(refusal.param.Name); });

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
