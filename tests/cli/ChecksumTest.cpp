// The internal checksum: the sum against one computed here from the rule, fixing, and what
// the commands that write do to it.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>

#include "CliRun.h"
#include "cli/Commands.h"
#include "cli/HexCrc.h"
#include "rom/InternalHeader.h"

namespace {

constexpr std::size_t MiB = 1 << 20;

struct SizeCase {
  std::size_t FileRom;  // ROM bytes in the file
  std::size_t Counted;  // of which the editor counts as the image
  bool Header;
  friend void PrintTo(const SizeCase& c, std::ostream* out) {
    *out << c.FileRom << " bytes" << (c.Header ? " and a header" : "");
  }
};

// The image as the console sees it, built byte by byte: a size that is not a power of two
// is its largest power of two, then the rest, itself seen this way, repeated until the two
// fill twice that power.
Bytes Mirrored(const Bytes& image) {
  std::size_t head = 1;
  while (head * 2 <= image.size()) head *= 2;
  if (head == image.size()) return image;
  const Bytes rest = Mirrored(Bytes(image.begin() + static_cast<std::ptrdiff_t>(head), image.end()));
  Bytes seen(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(head));
  while (seen.size() < 2 * head) seen.insert(seen.end(), rest.begin(), rest.end());
  return seen;
}

// The sum of every byte the console sees, with the stored complement and checksum counted as
// FF FF 00 00.
std::uint16_t ExpectedChecksum(const Bytes& rom, const SizeCase& size) {
  Bytes counted(rom.begin(), rom.begin() + static_cast<std::ptrdiff_t>(size.Counted));
  counted[0xFFDC] = counted[0xFFDD] = 0xFF;
  counted[0xFFDE] = counted[0xFFDF] = 0x00;
  std::uint32_t sum = 0;
  for (std::uint8_t byte : Mirrored(counted)) sum += byte;
  return static_cast<std::uint16_t>(sum);
}

class ChecksumOfSize : public ::testing::TestWithParam<SizeCase> {
 protected:
  TempDir Dir;
};

// Summing a 3 or 5 MiB image as if it were 4 or 8 MiB of zeros past its end, counting the
// stored bytes, or (past 8 MiB) counting what the editor does not save, each gives another sum.
// The rest of 3.5 and 7 MiB is no power of two (1.5 and 3 MiB): summing it once instead of
// mirrored, or mirroring it to its own size instead of the next power of two, gives another.
TEST_P(ChecksumOfSize, FixStoresTheSumOfTheRuleAndFixingTwiceChangesNothing) {
  const SizeCase& size = GetParam();
  Bytes rom = PatternedBytes(size.FileRom, static_cast<std::uint32_t>(size.FileRom >> 16));
  rom[InternalHeader::MapMode] = InternalHeader::FastHiRomMapMode;
  const std::size_t header = size.Header ? 0x200 : 0;
  Bytes file = rom;
  file.insert(file.begin(), header, 0x33);
  const std::string image = Dir.Write("image.smc", file), fixed = Dir.PathOf("fixed.smc");

  CliResult run = RunCli({"checksum", image, "--fix", "--output", fixed});
  ASSERT_EQ(run.Status, 0) << run.Err;
  const Bytes once = ReadFileBytes(fixed);
  const std::uint16_t expected = ExpectedChecksum(rom, size);
  EXPECT_EQ(once[header + 0xFFDE] | once[header + 0xFFDF] << 8, expected);
  EXPECT_EQ(once[header + 0xFFDC] | once[header + 0xFFDD] << 8, expected ^ 0xFFFF);
  for (std::size_t at : Differences(once, file)) EXPECT_TRUE(at >= header + 0xFFDC && at < header + 0xFFE0) << at;

  run = RunCli({"checksum", fixed, "--fix"});
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_NE(run.Out.find(": good"), std::string::npos) << run.Out;
  EXPECT_EQ(ReadFileBytes(fixed), once);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ChecksumOfSize,
                         ::testing::Values(SizeCase{3 * MiB, 3 * MiB, false}, SizeCase{5 * MiB, 5 * MiB, true},
                                           SizeCase{6 * MiB, 6 * MiB, false}, SizeCase{4 * MiB, 4 * MiB, true},
                                           SizeCase{9 * MiB, 8 * MiB, false}, SizeCase{7 * MiB / 2, 7 * MiB / 2, false},
                                           SizeCase{7 * MiB, 7 * MiB, true}),
                         ReadableName<SizeCase>);

struct WriteCase {
  std::vector<std::string> Command;  // IMAGE and JSON stand for the files
  bool SixSlot;
  friend void PrintTo(const WriteCase& c, std::ostream* out) { *out << testing::PrintToString(c.Command); }
};

class ChecksumAfterWrites : public ::testing::TestWithParam<WriteCase> {
 protected:
  std::string Info(const std::string& image) {
    CliResult run = RunCli({"info", image});
    EXPECT_EQ(run.Status, 0) << run.Err;
    const std::size_t at = run.Out.find("checksum:");
    return at == std::string::npos ? run.Out : run.Out.substr(at, run.Out.find('\n', at) - at);
  }
  Bytes Run(const Bytes& original, const char* name, bool fix) {
    const std::string image = Dir.Write(name, original);
    std::vector<std::string> args;
    for (const std::string& arg : GetParam().Command)
      args.push_back(arg == "IMAGE" ? image : arg == "JSON" ? Json : arg);
    if (fix) args.push_back("--fix-checksum");
    CliResult run = RunCli(args);
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(Info(image).find(fix ? ": good" : "stale"), std::string::npos) << Info(image);
    return ReadFileBytes(image);
  }
  TempDir Dir;
  std::string Json = Dir.PathOf("other.json");
};

// Without the option the bytes are the editor's; with it, they differ in the four checksum bytes only.
TEST_P(ChecksumAfterWrites, StaleAfterAnEditGoodWithFixChecksum) {
  ASSERT_EQ(RunCli({"export", Dir.Write("other.smc", Sample(true, false, 4)), Json}).Status, 0);
  SampleImage::Options options = SampleOptions(GetParam().SixSlot, true, 1);
  options.InternalHeader = true;
  const Bytes original = SampleImage::Make(options);
  EXPECT_NE(Info(Dir.Write("fresh.smc", original)).find(": good"), std::string::npos);
  const Bytes plain = Run(original, "plain.smc", false), fixed = Run(original, "fixed.smc", true);
  for (std::size_t at : Differences(plain, fixed)) EXPECT_TRUE(at >= 0x200 + 0xFFDC && at < 0x200 + 0xFFE0) << at;
}

INSTANTIATE_TEST_SUITE_P(Commands, ChecksumAfterWrites,
                         ::testing::Values(WriteCase{{"set", "IMAGE", "--esper", "9", "--spell", "2=40"}, true},
                                           WriteCase{{"shift", "IMAGE"}, false},
                                           WriteCase{{"import", "IMAGE", "JSON"}, true}),
                         ReadableName<WriteCase>);

// --fix in place once wrote a new file and renamed it over the image: a symbolic link became
// a file of its own and the real image kept its stale sum, a hard link was split off, and the
// owner was lost. Now a file is replaced only where that keeps it (its link's target, its owner
// and mode given to the new file); a hard-linked one is written into. Writing any record bytes
// (Save's first step) would show as other differences.
TEST(ChecksumInPlace, FixWritesIntoTheFileItselfThroughAnyLinkKeepingOwnerAndMode) {
  TempDir dir;
  SampleImage::Options options = SampleOptions(true);
  options.InternalHeader = true;
  Bytes stale = SampleImage::Make(options);
  stale[SlotOffset(false, 3, 0)] ^= 0x5A;
  const std::string copy = dir.PathOf("copy.smc");
  ASSERT_EQ(RunCli({"checksum", dir.Write("stale.smc", stale), "--fix", "--output", copy}).Status, 0);
  const Bytes fixed = ReadFileBytes(copy);
  ASSERT_FALSE(Differences(stale, fixed).empty());
  // A stale sum exited 0, as a good one does: a script could not tell them apart.
  EXPECT_EQ(RunCli({"checksum", dir.PathOf("stale.smc")}).Status, Cli::ExitChecksumStale);
  EXPECT_EQ(RunCli({"checksum", copy}).Status, 0);

  const bool root = ::geteuid() == 0;  // only root can give a file to someone else
  const uid_t owner = root ? 12345 : ::geteuid();
  const gid_t group = root ? 12345 : ::getegid();
  for (const std::string via : {"the file", "a symbolic link", "a hard link"}) {
    TempDir here;
    const std::string real = here.Write("real.smc", stale), link = here.PathOf("link.smc");
    ASSERT_EQ(::chown(real.c_str(), owner, group), 0);
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    if (via == "a symbolic link") std::filesystem::create_symlink("real.smc", link);
    if (via == "a hard link") std::filesystem::create_hard_link(real, link);
    struct stat before {
    }, after{};
    ASSERT_EQ(::stat(real.c_str(), &before), 0);

    CliResult run = RunCli({"checksum", via == "the file" ? real : link, "--fix"});
    ASSERT_EQ(run.Status, 0) << via << ": " << run.Err;
    EXPECT_EQ(Differences(ReadFileBytes(real), fixed).size(), 0u) << via;
    ASSERT_EQ(::stat(real.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino == before.st_ino, via == "a hard link") << via;
    EXPECT_EQ(after.st_nlink, before.st_nlink) << via;
    EXPECT_EQ(after.st_uid, owner) << via;
    EXPECT_EQ(after.st_gid, group) << via;
    EXPECT_EQ(after.st_mode & 07777, 0640u) << via;
    EXPECT_EQ(std::filesystem::is_symlink(link), via == "a symbolic link") << via;
  }
}

// The sums patch databases list are of the file as it is: not of a buffer the load patched.
TEST(InfoSums, CrcOfTheFileAndOfTheImageWithoutItsHeader) {
  TempDir dir;
  const Bytes five = Sample(false, true);
  CliResult run = RunCli({"info", dir.Write("five.smc", five)});
  ASSERT_EQ(run.Status, 0) << run.Err;
  auto crc = [](const std::uint8_t* bytes, std::size_t length) {
    return Cli::Hex(crc32(0L, bytes, static_cast<uInt>(length)), 8);
  };
  EXPECT_NE(run.Out.find("crc-32:         " + crc(five.data(), five.size()) + " (file), " +
                         crc(five.data() + 0x200, five.size() - 0x200) + " (without header)"),
            std::string::npos)
      << run.Out;
  EXPECT_NE(run.Out.find("checksum:       not checked: the map-mode byte"), std::string::npos) << run.Out;
}

// The project's CRC-32 against zlib's at every alignment and tail length, whole and continued:
// catches a slice table built one byte off, a tail loop that skips bytes, a continuation that
// does not undo the final inversion.
TEST(Crc32, EqualsZlibAtEveryAlignmentAndTailAndWhenContinued) {
  Bytes bytes(300);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 131 + (i >> 3));
  for (std::size_t start = 0; start < 8; ++start)
    for (std::size_t length = 0; start + length <= bytes.size(); length += 7) {
      const std::span<const std::uint8_t> part(bytes.data() + start, length);
      const uLong expected = crc32(0L, part.data(), static_cast<uInt>(part.size()));
      EXPECT_EQ(Formats::Crc32(part), expected) << start << "+" << length;
      const std::size_t half = length / 2;
      EXPECT_EQ(Formats::Crc32(part.subspan(half), Formats::Crc32(part.first(half))), expected)
          << start << "+" << length;
    }
}

}  // namespace
