// Faults of the disk or of other programs while loading and saving: each is reported, the
// program keeps working, and the file is either unchanged or exactly the image.

#include <filesystem>

#include "FaultingFileSystem.h"
#include "RomFixture.h"

namespace {

// Failures of the disk around a save.
class DiskFaults : public RomFixture {
 protected:
  FaultingFileSystem Faults;
};

using Operation = FaultingFileSystem::Operation;
using Bytes = std::vector<std::uint8_t>;

struct Fault {
  const char* Name;
  Operation Target;
  std::size_t BytesFirst;
  friend void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.Name; }
};

class SaveFaults : public RomFixture, public ::testing::WithParamInterface<Fault> {
 protected:
  FaultingFileSystem Faults;
};

TEST_P(SaveFaults, AreReportedAndLeaveTheFileAsItWas) {
  Bytes bytes = ImageBytes();
  ASSERT_TRUE(Load(bytes));
  Rom->ReadEsperData();
  Rom->EsperTable[0][0] ^= 0x55;

  Faults.Arm(GetParam().Target, GetParam().BytesFirst);
  EXPECT_EQ(Rom->SaveFile(), 0);
  EXPECT_FALSE(Rom->ErrorText.IsEmpty());
  EXPECT_EQ(ReadFileBytes(Path), bytes);

  // The program goes on: the next save succeeds and writes exactly the image.
  ASSERT_EQ(Rom->SaveFile(), 1) << Rom->ErrorText.Str();
  Bytes saved = ReadFileBytes(Path);
  EXPECT_TRUE(std::equal(saved.begin(), saved.end(), Rom->Buffer.get()));
  EXPECT_EQ(saved.size(), bytes.size());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SaveFaults,
    ::testing::Values(Fault{"OpenRefused", Operation::Open, 0}, Fault{"LengthUnknown", Operation::Length, 0},
                      Fault{"SeekFails", Operation::Seek, 0}, Fault{"ReadShort", Operation::Read, 1000},
                      Fault{"WriteStopsHalfway", Operation::Write, 0x200000},
                      Fault{"WriteFailsAtOnce", Operation::Write, 0}, Fault{"FlushFails", Operation::Flush, 0}),
    [](const ::testing::TestParamInfo<Fault>& fault) { return std::string(fault.param.Name); });

// A close that failed after the image was written and flushed was reported as a failed save,
// though the file held the new bytes: it is a save, with a warning, once they read back.
TEST_F(DiskFaults, ACloseThatFailsAfterTheImageIsWrittenAndReadsBackIsAWarning) {
  ASSERT_TRUE(Load(ImageBytes()));
  std::filesystem::create_hard_link(Path, Dir.PathOf("second.smc"));  // written in place
  Rom->ReadEsperData();
  Rom->EsperTable[0][0] ^= 0x55;
  Faults.Arm(Operation::Close);
  EXPECT_EQ(Rom->SaveFile(), 1) << Rom->ErrorText.Str();
  EXPECT_NE(Rom->Warning.Str().find("cannot close the file"), std::string::npos) << Rom->Warning.Str();
  const Bytes saved = ReadFileBytes(Path);
  EXPECT_TRUE(std::equal(saved.begin(), saved.end(), Rom->Buffer.get()));
  EXPECT_EQ(Rom->SaveFile(), 1);
  EXPECT_TRUE(Rom->Warning.IsEmpty()) << "a warning outlived its save";
}

class LoadFaults : public RomFixture, public ::testing::WithParamInterface<Fault> {
 protected:
  FaultingFileSystem Faults;
};

TEST_P(LoadFaults, AreReportedAndHoldNoImage) {
  Bytes bytes = ImageBytes();
  ASSERT_TRUE(Load(bytes));
  Faults.Arm(GetParam().Target, GetParam().BytesFirst);
  EXPECT_EQ(Rom->LoadFile(), 0);
  EXPECT_FALSE(Rom->HoldsImage());
  EXPECT_FALSE(Rom->ErrorText.IsEmpty());
  EXPECT_EQ(ReadFileBytes(Path), bytes);
  EXPECT_EQ(Rom->LoadFile(), 1);  // and the next try works
}

INSTANTIATE_TEST_SUITE_P(Faults, LoadFaults,
                         ::testing::Values(Fault{"OpenRefused", Operation::Open, 0},
                                           Fault{"LengthUnknown", Operation::Length, 0},
                                           Fault{"ReadShort", Operation::Read, 0x1000}),
                         [](const ::testing::TestParamInfo<Fault>& fault) { return std::string(fault.param.Name); });

TEST_F(DiskFaults, SaveAfterTheFileWasDeletedOrMadeReadOnlyReportsAndCreatesNothing) {
  Bytes bytes = ImageBytes();
  ASSERT_TRUE(Load(bytes));
  {
    ReadOnlyFile readOnly(Path);
    EXPECT_EQ(Rom->SaveFile(), 0);
    EXPECT_EQ(ReadFileBytes(Path), bytes);
  }
  std::filesystem::remove(Path);
  EXPECT_EQ(Rom->SaveFile(), 0);
  EXPECT_FALSE(std::filesystem::exists(Path));
}

}  // namespace
