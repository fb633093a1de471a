// diff: what it says changed between two images, by field and by byte.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CliRun.h"
#include "rom/RomLayout.h"
#include "rom/Transliteration.h"

namespace {

using nlohmann::json;

class Diff : public ::testing::Test {
 protected:
  json Compare(const Bytes& older, const Bytes& newer, std::string* text = nullptr) {
    const std::string a = Dir.Write("old.smc", older), b = Dir.Write("new.smc", newer);
    CliResult run = RunCli({"diff", a, b, "--format", "json"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    if (text) *text = RunCli({"diff", a, b}).Out;
    return json::parse(run.Out);
  }
  TempDir Dir;
};

struct FieldCase {
  std::vector<std::string> Flags;
  const char* Field;
  int Pair;  // 0: the bonus
  int Slot;
  int Value;  // 0xFF: none
  friend void PrintTo(const FieldCase& c, std::ostream* out) { *out << testing::PrintToString(c.Flags); }
};

class DiffAfterSet : public Diff, public ::testing::WithParamInterface<FieldCase> {};

// A field named by the wrong pair, a value read at the wrong offset, or record bytes listed
// again as other bytes all show here.
TEST_P(DiffAfterSet, ShowsExactlyTheFieldThatSetChanged) {
  const FieldCase& edit = GetParam();
  const SampleImage::Options options = SampleOptions(true, true, 2);
  const Bytes before = SampleImage::Make(options);
  const std::string image = Dir.Write("edited.smc", before);
  std::vector<std::string> args{"set", image, "--esper", "11"};  // pairs 1 and 2 hold spells
  args.insert(args.end(), edit.Flags.begin(), edit.Flags.end());
  ASSERT_EQ(RunCli(args).Status, 0);

  std::string text;
  const json diff = Compare(before, ReadFileBytes(image), &text);
  ASSERT_EQ(diff["espers"].size(), 1u) << diff.dump(1);
  const json& esper = diff["espers"][0];
  EXPECT_EQ(esper["number"], 11);
  ASSERT_EQ(esper["changes"].size(), 1u) << esper.dump(1);
  const json& change = esper["changes"][0];
  EXPECT_EQ(change["field"], edit.Field);
  EXPECT_EQ(change.value("pair", 0), edit.Pair);
  const int old = SampleImage::EsperRecord(options, 11)[static_cast<std::size_t>(edit.Slot)];
  EXPECT_EQ(change["old"], old == 0xFF && std::string(edit.Field) != "rate" ? json(nullptr) : json(old));
  EXPECT_EQ(change["new"], edit.Value == 0xFF ? json(nullptr) : json(edit.Value));
  EXPECT_EQ(diff["otherBytes"]["byteCount"], 0);

  const std::string label = std::string(edit.Field) + (edit.Pair ? " " + std::to_string(edit.Pair) : "") + ": ";
  EXPECT_NE(text.find("esper 11 \""), std::string::npos) << text;
  EXPECT_NE(text.find("  " + label), std::string::npos) << text;
  EXPECT_NE(text.find("other bytes: none differ"), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(Fields, DiffAfterSet,
                         ::testing::Values(FieldCase{{"--rate", "2=77"}, "rate", 2, 2, 77},
                                           FieldCase{{"--spell", "2=none"}, "spell", 2, 3, 0xFF},
                                           FieldCase{{"--spell", "1=53"}, "spell", 1, 1, 53},
                                           FieldCase{{"--bonus", "16"}, "bonus", 0, 12, 16}),
                         ReadableName<FieldCase>);

TEST_F(Diff, TheSameImageWithAndWithoutACopierHeaderComparesEqual) {
  std::string text;
  const json diff = Compare(Sample(true, false, 1), Sample(true, true, 1), &text);
  EXPECT_EQ(diff["same"], true) << diff.dump(1);
  EXPECT_NE(text.find("header: 0 -> 512 bytes"), std::string::npos) << text;
  EXPECT_NE(text.find("same: the images hold the same bytes"), std::string::npos) << text;
}

// After a shift every record sits elsewhere but holds the same values: compared by position,
// all 27 would show. What is left is the code patch, as bytes.
TEST_F(Diff, AShiftChangesNoFieldAndShowsTheCodePatchAsBytes) {
  const Bytes five = Sample(false, false, 6);
  const std::string copy = Dir.PathOf("six.smc");
  ASSERT_EQ(RunCli({"shift", Dir.Write("five.smc", five), "--output", copy}).Status, 0);
  const json diff = Compare(five, ReadFileBytes(copy));
  EXPECT_EQ(diff["old"]["layout"], "five-slot");
  EXPECT_EQ(diff["new"]["layout"], "six-slot");
  EXPECT_EQ(diff["new"]["codePatch"]["runsPresent"], 13);
  EXPECT_EQ(diff["espers"].size(), 0u) << diff["espers"].dump(1);
  ASSERT_GT(diff["otherBytes"]["runCount"], 0);
  for (const json& run : diff["otherBytes"]["runs"]) {
    bool inPatch = false;
    for (const RomLayout::PatchRun& patch : RomLayout::SixSlotPatch)
      inPatch = inPatch || (run["start"] >= patch.Offset &&
                            run["start"].get<std::uint64_t>() + run["length"].get<std::uint64_t>() <=
                                patch.Offset + patch.Bytes.size());
    EXPECT_TRUE(inPatch) << run.dump();
  }
}

TEST_F(Diff, ManyRunsShowTwentyThenACountAndALengthDifferenceIsSaid) {
  const Bytes before = Sample(true);
  Bytes after = before;
  for (std::size_t i = 0; i < 25; ++i) after[0x200000 + 16 * i] ^= 0xFF;
  std::string text;
  json diff = Compare(before, after, &text);
  EXPECT_EQ(diff["otherBytes"]["runCount"], 25);
  EXPECT_EQ(diff["otherBytes"]["runs"].size(), 20u);
  EXPECT_EQ(diff["otherBytes"]["runsNotShown"], 5);
  EXPECT_NE(text.find("  ROM 0x200000 (1 byte)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  and 5 more runs\n"), std::string::npos) << text;

  after.resize(before.size() + 0x10000, 0x44);
  diff = Compare(before, after, &text);
  EXPECT_EQ(diff["same"], false);
  EXPECT_NE(text.find("length: 3145728 -> 3211264 bytes without header"), std::string::npos) << text;
}

}  // namespace
