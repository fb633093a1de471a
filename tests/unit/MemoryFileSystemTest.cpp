// The files the fuzz targets run on: in memory they behave for CFile as on disk, so Load and
// Save over them take the path they take on disk; and the fuzz image files kept between runs
// are always the images their inputs describe, whatever ran before.

#include <gtest/gtest.h>

#include <random>

#include "FaultingFileSystem.h"
#include "RomFixture.h"
#include "framework/CFile.h"
#include "framework/MemoryFileSystem.h"
#include "tools/CleanImages.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class InMemory : public ::testing::Test {
 protected:
  ~InMemory() override { InstallFileSystem(nullptr); }
  MemoryFileSystem Memory;
  TempDir Dir;
};

// Every CFile step that the editor or a failure may take, logged with its result and error.
std::vector<std::string> RunSteps(const std::string& path) {
  std::vector<std::string> log;
  CFile file;
  auto note = [&](const std::string& step, auto result) {
    log.push_back(step + " -> " + std::to_string(result) + " " + file.ErrorText().Str());
  };
  note("open missing for reading", file.Open(CString((path + ".none").c_str()), CFile::modeRead));
  note("open missing for writing", file.Open(CString((path + ".none").c_str()), CFile::modeReadWrite));
  note("open for reading", file.Open(CString(path.c_str()), CFile::modeRead));
  char bytes[64] = {};
  note("read 10", file.Read(bytes, 10));
  note("write on a file open for reading", file.Write("x", 1));
  note("seek before the start", file.Seek(-1, CFile::begin));
  note("seek 25", file.Seek(25, CFile::begin));
  note("read past the end", file.Read(bytes, sizeof bytes));
  log.push_back(std::string(bytes, 5));
  note("close", file.Close());
  note("open for writing", file.Open(CString(path.c_str()), CFile::modeReadWrite));
  note("seek past the end", file.Seek(40, CFile::begin));
  note("write past the end", file.Write("tail", 4));
  std::uint64_t length = 0;
  note("length", file.GetLength(length));
  log.push_back(std::to_string(length));
  note("seek 2", file.Seek(2, CFile::begin));
  note("write over", file.Write("AB", 2));
  note("flush", file.Flush());
  note("close", file.Close());
  note("close again", file.Close());
  return log;
}

// Faults: a read that errors at the end, a write or seek that goes nowhere, a file open for
// reading that takes writes, another reason for a missing file than the disk's.
TEST_F(InMemory, FilesAnswerEveryStepAsTheDiskDoes) {
  const Bytes start = PatternedBytes(30);
  const std::string disk = Dir.Write("image.smc", start);
  const std::vector<std::string> onDisk = RunSteps(disk);

  Memory.Contents(disk) = start;
  InstallFileSystem(&Memory);
  EXPECT_EQ(RunSteps(disk), onDisk);
  EXPECT_EQ(Memory.Contents(disk), ReadFileBytes(disk));  // the gap up to the tail holds zeros in both
}

// Faults: a save over memory that writes other bytes than on disk, a written span that
// misses what the save wrote, and a changed span that misses a byte the save changed (the
// fuzz targets put back only that span) or takes in the whole image it wrote.
TEST_F(InMemory, TheEditorSavesTheSameBytesAndSaysWhereItWrote) {
  const Bytes image = PatternedBytes(0x280200);
  Bytes saved[2];
  for (bool inMemory : {false, true}) {
    std::string path = Dir.Write("image.smc", image);
    if (inMemory) {
      path = "/in-memory/image.smc";
      Memory.Contents(path) = image;
      InstallFileSystem(&Memory);
    }
    CRomImage rom;
    rom.SetPath(CString(path.c_str()));
    ASSERT_EQ(rom.LoadFile(), 1) << rom.ErrorText.Str();
    rom.SetHeaderSize(RomLayout::HeaderSizeOf(rom.GetImageLength()));
    rom.ReadEsperData();
    rom.EsperTable[4][2] ^= 0x33;
    ASSERT_EQ(rom.SaveFile(), 1) << rom.ErrorText.Str();
    saved[inMemory] = inMemory ? Memory.Contents(path) : ReadFileBytes(path);
    if (inMemory) {
      const MemoryFileSystem::Span written = Memory.TakeWritten(path);
      EXPECT_EQ(Memory.TakeWritten(path).Last, 0u);  // taken
      const MemoryFileSystem::Span changed = Memory.TakeChanged(path);
      const Bytes& now = Memory.Contents(path);
      std::size_t first = image.size(), last = 0;
      for (std::size_t i = 0; i < image.size(); ++i)
        if (now[i] != image[i]) first = std::min(first, i), last = i + 1;
      ASSERT_LT(first, last);
      EXPECT_LE(written.First, first);  // files in memory are saved in place, where they change
      EXPECT_GE(written.Last, last);
      EXPECT_LE(changed.First, first);
      EXPECT_GE(changed.Last, last);
      EXPECT_GT(changed.First + 4096, first);  // at most a block more, not the image
      EXPECT_LT(changed.Last, last + 4096);
      EXPECT_EQ(Memory.TakeChanged(path).Last, 0u);  // taken
    }
  }
  EXPECT_NE(saved[0], image);
  EXPECT_EQ(saved[1], saved[0]);
}

// Fault: a layer that ends by putting back the platform's files instead of the ones under it.
TEST_F(InMemory, AFaultLayerPutsBackTheFilesUnderIt) {
  InstallFileSystem(&Memory);
  {
    FaultingFileSystem faults;
    EXPECT_EQ(&CurrentFileSystem(), &faults);
  }
  EXPECT_EQ(&CurrentFileSystem(), &Memory);
}

// Faults: a stretch changed by a run (by the target or by a save) left in the next run's file,
// a kept file taken for another header, a file grown by a save kept long, a kept file cut or
// lengthened for another length with the wrong bytes in what it gains (filler or image).
TEST(CleanImageFiles, AreTheImageTheInputDescribesWhateverRanBefore) {
  const Bytes base = PatternedBytes(700);
  CleanImages images(base, 3000, 3);
  Bytes file;
  std::mt19937 random(7);
  auto upTo = [&random](std::size_t most) { return std::uniform_int_distribution<std::size_t>(0, most)(random); };
  CleanImages::Span written{0, 0};
  for (int run = 0; run < 400; ++run) {
    const std::size_t length = 600 + 150 * upTo(6);  // some cut the image short
    const std::size_t header = upTo(1) * 300;
    images.Prepare(file, length, header, written);
    ASSERT_EQ(file, images.Reference(length, header)) << "run " << run;
    written = {0, 0};
    for (std::size_t i = 0; i < header && i < length; ++i) ASSERT_EQ(file[i], 0xA5);
    const std::size_t image = std::min(base.size(), length - header);
    ASSERT_TRUE(std::equal(base.begin(), base.begin() + static_cast<std::ptrdiff_t>(image),
                           file.begin() + static_cast<std::ptrdiff_t>(header)));

    const std::size_t at = upTo(length - 1), end = std::min(length, at + 1 + upTo(40));
    for (std::size_t i = at; i < end; ++i) file[i] ^= 0x5A;
    switch (upTo(2)) {
      case 0: images.Changed(at, end); break;
      case 1: written = {at, end}; break;
      default:
        written = {at, end};
        file.resize(length + 5, 1);  // written past the end
        break;
    }
  }
}

}  // namespace
