// Patches: the exact bytes for a known pair, and what an independent applier makes of what
// patch and --patch write.

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "CliRun.h"
#include "PatchAppliers.h"
#include "formats/Bps.h"
#include "formats/Ips.h"
#include "rom/InternalHeader.h"

namespace {

Bytes Of(std::string_view text) { return {text.begin(), text.end()}; }
Bytes After(const Bytes& bytes, std::size_t header) {
  return {bytes.begin() + static_cast<std::ptrdiff_t>(header), bytes.end()};
}

// Byte order, varint spelling and where each CRC goes, pinned with known bytes.
TEST(PatchFormats, AKnownPairGivesExactlyTheseBytes) {
  const Bytes source = Of("ABCD"), target = Of("ABXD");
  EXPECT_EQ(Of(Formats::MakeBps(source, target)),
            (Bytes{0x42, 0x50, 0x53, 0x31, 0x84, 0x84, 0x80, 0x84, 0x81, 0x58, 0x80, 0xA5,
                   0x20, 0x17, 0xDB, 0x3F, 0xEB, 0x21, 0x72, 0xEE, 0xAA, 0x9C, 0x24}));
  std::string ips, error;
  ASSERT_TRUE(Formats::MakeIps(source, target, &ips, &error)) << error;
  EXPECT_EQ(Of(ips), (Bytes{0x50, 0x41, 0x54, 0x43, 0x48, 0x00, 0x00, 0x02, 0x00, 0x01, 0x58, 0x45, 0x4F, 0x46}));

  // A varint spelled without the "1 less" step reads as another number.
  const std::pair<std::uint64_t, Bytes> varints[] = {
      {0, {0x80}}, {127, {0xFF}}, {128, {0x00, 0x80}}, {0x300000, {0x00, 0x7F, 0x3E, 0x80}}};
  for (const auto& [value, bytes] : varints) {
    std::string out;
    Formats::AppendBpsVarint(out, value);
    EXPECT_EQ(Of(out), bytes) << value;
  }
}

class Patches : public ::testing::Test {
 protected:
  Bytes Image(bool sixSlot, bool header) {
    SampleImage::Options options = SampleOptions(sixSlot, header, 3);
    options.InternalHeader = true;
    return SampleImage::Make(options);
  }
  static Applied Apply(bool ips, const Bytes& source, const Bytes& patch) {
    return ips ? ApplyIps(source, patch) : ApplyBps(source, patch);
  }
  TempDir Dir;
};

struct EditCase {
  std::vector<std::string> Command;  // "IMAGE" and "JSON" stand for the files
  bool SixSlot;
  bool Header;
  bool Ips;
  bool FixChecksum;
  friend void PrintTo(const EditCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.Command) << (c.Header ? " header" : "") << (c.Ips ? " IPS" : " BPS")
         << (c.FixChecksum ? " --fix-checksum" : "");
  }
};

class PatchOfAnEdit : public Patches, public ::testing::WithParamInterface<EditCase> {};

// A patch made from the loaded buffer would miss the code patch of a five-slot load; one that
// kept the header would not apply to the image a patch tool sees.
TEST_P(PatchOfAnEdit, AppliedToTheOriginalGivesExactlyWhatTheSaveWrites) {
  const EditCase& edit = GetParam();
  const Bytes original = Image(edit.SixSlot, edit.Header);
  const std::string image = Dir.Write("in.smc", original);
  const std::string json = Dir.PathOf("other.json");
  ASSERT_EQ(RunCli({"export", Dir.Write("other.smc", SampleImage::Make(SampleOptions(true, false, 5))), json}).Status,
            0);
  auto command = [&](std::vector<std::string> extra) {
    std::vector<std::string> args;
    for (const std::string& arg : edit.Command) args.push_back(arg == "IMAGE" ? image : arg == "JSON" ? json : arg);
    if (edit.FixChecksum) args.push_back("--fix-checksum");
    args.insert(args.end(), extra.begin(), extra.end());
    CliResult run = RunCli(args);
    EXPECT_EQ(run.Status, 0) << run.Err;
  };
  const std::string patch = Dir.PathOf(edit.Ips ? "edit.ips" : "edit.bps");
  command(edit.Ips ? std::vector<std::string>{"--patch", patch, "--ips"} : std::vector<std::string>{"--patch", patch});
  EXPECT_EQ(ReadFileBytes(image), original) << "the image is not written";
  command({"--output", Dir.PathOf("saved.smc")});
  const Bytes saved = ReadFileBytes(Dir.PathOf("saved.smc"));

  const std::size_t header = edit.Header ? 0x200 : 0;
  const Applied applied = Apply(edit.Ips, After(original, header), ReadFileBytes(patch));
  ASSERT_EQ(applied.Error, "");
  EXPECT_EQ(Differences(applied.Target, After(saved, header)), std::vector<std::size_t>{});
}

INSTANTIATE_TEST_SUITE_P(
    Edits, PatchOfAnEdit,
    ::testing::Values(
        EditCase{{"set", "IMAGE", "--esper", "4", "--rate", "2=77", "--spell", "3=none"}, true, false, false, false},
        EditCase{{"set", "IMAGE", "--esper", "26", "--bonus", "3"}, true, true, true, false},
        EditCase{{"set", "IMAGE", "--esper", "0", "--rate", "6=1"}, true, true, false, true},
        EditCase{{"shift", "IMAGE"}, false, false, false, false}, EditCase{{"shift", "IMAGE"}, false, true, true, true},
        EditCase{{"import", "IMAGE", "JSON"}, true, false, false, false}),
    ReadableName<EditCase>);

// A CRC over the wrong bytes, or a command that reads past its end, shows as a patch that a
// tool refuses; every single changed byte must be caught.
TEST_F(Patches, EveryByteOfABpsPatchIsCheckedByItsCrcs) {
  const Bytes original = Image(true, false);
  Bytes edited = original;
  edited[SlotOffset(false, 7, 3)] ^= 0x5A;
  const std::string patch = Dir.PathOf("p.bps");
  ASSERT_EQ(RunCli({"patch", Dir.Write("a.smc", original), Dir.Write("b.smc", edited), patch}).Status, 0);
  const Bytes good = ReadFileBytes(patch);
  ASSERT_EQ(ApplyBps(original, good).Error, "");
  for (std::size_t at = 0; at < good.size(); ++at) {
    Bytes bad = good;
    bad[at] ^= 0x01;
    EXPECT_NE(ApplyBps(original, bad).Error, "") << "byte " << at;
  }
}

// IPS offsets near "EOF" (0x454F46) and past 0xFFFF-byte records, in an 8 MiB image.
TEST_F(Patches, EightMiBPairsNearTheOffsetThatReadsAsEof) {
  struct Change {
    std::size_t Start;
    std::size_t Length;
  };
  const std::vector<Change> cases[] = {
      {{0x454F46, 1}},                             // a record would start at "EOF"
      {{0x454F46 - 0xFFFF, 0x18000}},              // a split of a long run lands on it
      {{0, 1}, {0x800000 - 1, 1}, {0x454F40, 3}},  // both ends, and one just before
  };
  const Bytes original = PatternedBytes(0x800000);
  const std::string a = Dir.Write("a.smc", original);
  for (const auto& changes : cases) {
    Bytes edited = original;
    for (const Change& change : changes)
      for (std::size_t i = 0; i < change.Length; ++i) edited[change.Start + i] ^= 0xFF;
    const std::string b = Dir.Write("b.smc", edited);
    for (bool ips : {false, true}) {
      const std::string patch = Dir.PathOf(ips ? "p.ips" : "p.bps");
      CliResult run = RunCli(ips ? std::vector<std::string>{"patch", a, b, patch, "--ips"}
                                 : std::vector<std::string>{"patch", a, b, patch});
      ASSERT_EQ(run.Status, 0) << run.Err;
      const Applied applied = Apply(ips, original, ReadFileBytes(patch));
      EXPECT_EQ(applied.Error, "") << changes.front().Start;
      EXPECT_TRUE(applied.Target == edited) << (ips ? "IPS " : "BPS ") << changes.front().Start;
    }
  }
}

// Every file of the folder, read in one call each: the snapshot is taken after every case.
using Snapshot = std::map<std::string, Bytes>;
Snapshot Files(const TempDir& dir) {
  Snapshot files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.PathOf(""))) {
    Bytes& bytes = files[entry.path().filename()];
    bytes.resize(static_cast<std::size_t>(entry.file_size()));
    std::ifstream(entry.path(), std::ios::binary).read(reinterpret_cast<char*>(bytes.data()), std::ssize(bytes));
  }
  return files;
}

// Whatever the three commands and the new options refuse, no file is made, changed or removed.
TEST_F(Patches, EveryRefusalLeavesEveryFileAsItWas) {
  const Bytes six = Image(true, false);
  const std::string image = Dir.Write("six.smc", six);
  const std::string copy = Dir.Write("copy.smc", six);
  Bytes edited = six;
  edited[SlotOffset(false, 1, 0)] ^= 1;
  const std::string changed = Dir.Write("edited.smc", edited);
  Bytes longer = six;
  longer.resize(six.size() + 0x10000, 0x11);
  const std::string other = Dir.Write("longer.smc", longer);
  Bytes odd = six;
  odd.insert(odd.begin(), 0x100, 0);  // a 256-byte header
  const std::string oddHeader = Dir.Write("odd.smc", odd);
  Bytes lorom = six;
  lorom[InternalHeader::MapMode] = 0x20;
  const std::string notHiRom = Dir.Write("lorom.smc", lorom);
  const std::string five = Dir.Write("five.smc", Image(false, false));
  const std::string locked = Dir.Write("locked.smc", edited);  // stale checksum
  ReadOnlyFile readOnly(locked);
  const std::string bigA = Dir.Write("big-a.smc", Bytes(0x1100000, 1));
  Bytes bigEdited(0x1100000, 1);
  bigEdited[0x1000000] = 2;
  const std::string bigB = Dir.Write("big-b.smc", bigEdited);
  const std::string out = Dir.PathOf("out.bps");
  const std::string rate = std::to_string(SampleImage::EsperRecord(SampleOptions(true, false, 3), 0)[0]);

  const std::pair<std::vector<std::string>, int> refused[] = {
      {{"patch", image, copy, out}, 1},                                            // identical
      {{"patch", image, other, out}, 1},                                           // lengths differ
      {{"patch", image, changed, changed}, 1},                                     // OUT is an input
      {{"patch", oddHeader, changed, out}, 1},                                     // a header other than 512 bytes
      {{"patch", bigA, bigB, Dir.PathOf("out.ips"), "--ips"}, 1},                  // past 16 MiB
      {{"patch", image, changed, Dir.PathOf("out.ips")}, 2},                       // named .ips, written as BPS
      {{"set", image, "--esper", "0", "--rate", "1=" + rate, "--patch", out}, 1},  // changes nothing
      {{"set", image, "--esper", "0", "--rate", "1=9", "--patch", image}, 1},
      {{"set", five, "--esper", "0", "--rate", "1=9", "--patch", out}, 1},
      {{"set", image, "--esper", "0", "--rate", "1=9", "--patch", out, "--output", Dir.PathOf("x.smc")}, 2},
      {{"set", notHiRom, "--esper", "0", "--rate", "1=9", "--fix-checksum"}, 1},
      {{"shift", five, "--fix-checksum", "--patch", out, "--ips"}, 2},  // named .bps, written as IPS
      {{"checksum", notHiRom}, 1},
      {{"checksum", notHiRom, "--fix", "--output", Dir.PathOf("x.smc")}, 1},
      {{"checksum", oddHeader, "--fix"}, 1},
      {{"checksum", locked, "--fix"}, 1},  // read-only
      {{"checksum", image, "--fix", "--output", image}, 1},
      {{"checksum", image, "--output", Dir.PathOf("x.smc")}, 2},  // --output without --fix
      {{"diff", image, Dir.PathOf("missing.smc")}, 1},
  };
  const Snapshot before = Files(Dir);
  for (const auto& [args, status] : refused) {
    CliResult run = RunCli(args);
    EXPECT_EQ(run.Status, status) << testing::PrintToString(args) << "\n" << run.Out;
    EXPECT_NE(run.Err, "") << testing::PrintToString(args);
    EXPECT_TRUE(Files(Dir) == before) << testing::PrintToString(args);
  }
}

}  // namespace
