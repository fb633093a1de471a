// set and shift: exactly the bytes the editor would write, on the same image.

#include <gtest/gtest.h>

#include <cctype>
#include <sstream>

#include "CliRun.h"
#include "EditorFixture.h"
#include "cli/CommandSupport.h"

namespace {

struct SlotEdit {
  std::vector<std::string> Args;
  int Slot;
  int Value;
  friend void PrintTo(const SlotEdit& edit, std::ostream* out) { *out << testing::PrintToString(edit.Args); }
};

std::string EditName(const testing::TestParamInfo<SlotEdit>& test) {
  std::string name;
  for (const std::string& arg : test.param.Args)
    for (char c : arg)
      if (std::isalnum(static_cast<unsigned char>(c)))
        name += c;
      else if (!name.empty())
        name += '_';
  return name;
}

class SetCommand : public ::testing::TestWithParam<SlotEdit> {
 protected:
  TempDir Dir;
};

TEST_P(SetCommand, ChangesExactlyTheBytesOfItsSlot) {
  for (int esper : {0, 13, 26}) {
    Bytes before = Sample(true, true, 2);
    before[SlotOffset(true, esper, GetParam().Slot)] = 0x33;  // so that every edit is a change
    const std::string image = Dir.Write("image.smc", before);
    std::vector<std::string> args{"set", image, "--esper", std::to_string(esper)};
    args.insert(args.end(), GetParam().Args.begin(), GetParam().Args.end());
    CliResult run = RunCli(args);
    ASSERT_EQ(run.Status, 0) << run.Err;

    const Bytes after = ReadFileBytes(image);
    const std::size_t at = SlotOffset(true, esper, GetParam().Slot);
    EXPECT_EQ(Differences(after, before), std::vector<std::size_t>{at}) << "esper " << esper;
    EXPECT_EQ(after[at], GetParam().Value);
  }
}

INSTANTIATE_TEST_SUITE_P(Slots, SetCommand,
                         ::testing::Values(SlotEdit{{"--rate", "1=9"}, 0, 9}, SlotEdit{{"--rate", "6=0xFE"}, 10, 0xFE},
                                           SlotEdit{{"--spell", "1=0"}, 1, 0}, SlotEdit{{"--spell", "3=53"}, 5, 53},
                                           SlotEdit{{"--spell", "6=none"}, 11, 0xFF},
                                           SlotEdit{{"--bonus", "16"}, 12, 16}, SlotEdit{{"--bonus", "200"}, 12, 200},
                                           SlotEdit{{"--bonus", "none"}, 12, 0xFF}),
                         EditName);

// The editor, in memory, beside the command line: the same steps give the same file.
class AgainstTheEditor : public EditorFixture {
 protected:
  Bytes EditorResult(const Bytes& image, const std::function<void()>& steps) {
    const std::string path = Load(image, "editor.smc");
    steps();
    Headless::PressCommand(*Dialog, ID_FILE_SAVE);
    EXPECT_TRUE(Headless::MessageBoxes().empty());
    return ReadFileBytes(path);
  }
  Bytes CliResultOf(const Bytes& image, std::vector<std::string> args, int status = 0) {
    const std::string path = Dir.Write("cli.smc", image);
    args.insert(args.begin() + 1, path);
    CliResult run = RunCli(args);
    EXPECT_EQ(run.Status, status) << run.Err;
    return ReadFileBytes(path);
  }
};

TEST_F(AgainstTheEditor, SetWritesWhatTheEditorsFieldsWrite) {
  const Bytes image = Sample(true, true, 3);
  const Bytes editor = EditorResult(image, [&] {
    Headless::PickItem(*Dialog, IDC_ESPER, 4);
    Headless::TypeOver(*Dialog, IDC_RATE2, "77");
    Headless::PickItem(*Dialog, IDC_SPELL3, 11);  // spell 10
    Headless::PickItem(*Dialog, IDC_SPELL4, 0);   // "No Spell"
    Headless::PickItem(*Dialog, IDC_BONUS, 255);  // "No Bonus"
  });
  const Bytes cli = CliResultOf(
      image, {"set", "--esper", "4", "--rate", "2=77", "--spell", "3=10", "--spell", "4=none", "--bonus", "none"});
  EXPECT_EQ(Differences(cli, editor), std::vector<std::size_t>{});
  EXPECT_NE(cli, image);
}

class ShiftAgainstTheEditor : public AgainstTheEditor, public ::testing::WithParamInterface<std::pair<bool, int>> {};

TEST_P(ShiftAgainstTheEditor, GivesTheBytesOfLoadFiveToSixAndSave) {
  auto [header, variant] = GetParam();
  const Bytes image = Sample(false, header, variant);
  const Bytes editor = EditorResult(image, [&] {
    Headless::AnswerNextModal(IDOK);
    Headless::PressCommand(*Dialog, ID_SHIFT_DATA);
  });
  const Bytes cli = CliResultOf(image, {"shift"});
  EXPECT_EQ(Differences(cli, editor), std::vector<std::size_t>{});
  EXPECT_NE(cli, image);
}

std::string ShiftName(const ::testing::TestParamInfo<std::pair<bool, int>>& image) {
  return std::string(image.param.first ? "Header" : "NoHeader") + "Variant" + std::to_string(image.param.second);
}

INSTANTIATE_TEST_SUITE_P(Images, ShiftAgainstTheEditor,
                         ::testing::Values(std::pair{false, 0}, std::pair{true, 0}, std::pair{true, 5}), ShiftName);

TEST_F(AgainstTheEditor, ShiftRefusesSixSlotUnlessForcedThenDoesWhatTheEditorDoes) {
  const Bytes image = Sample(true, false, 1);
  const std::string path = Dir.Write("six.smc", image);
  CliResult refused = RunCli({"shift", path});
  EXPECT_EQ(refused.Status, 1);
  EXPECT_NE(refused.Err.find("already holds six-slot"), std::string::npos) << refused.Err;
  EXPECT_NE(refused.Err.find("--force"), std::string::npos) << refused.Err;
  EXPECT_EQ(ReadFileBytes(path), image);

  const Bytes editor = EditorResult(image, [&] {
    Headless::AnswerNextModal(IDOK);
    Headless::PressCommand(*Dialog, ID_SHIFT_DATA);
  });
  EXPECT_EQ(Differences(CliResultOf(image, {"shift", "--force"}), editor), std::vector<std::size_t>{});
}

// Values out of range fail the operation (1); a command line that does not parse is a
// usage error (2). Neither writes anything. What the user typed is echoed as typed: numbers
// too large for an int were echoed as 2147483647, a line break raw.
TEST(SetRefusals, LeaveTheImageAsItWas) {
  TempDir dir;
  const Bytes six = Sample(true);
  const std::string image = dir.Write("image.smc", six);
  const std::string five = dir.Write("five.smc", Sample(false));
  struct Refusal {
    std::vector<std::string> Flags;
    int Status;
    const char* Says = "";
  };
  const Refusal cases[] = {
      {{"--esper", "27", "--rate", "1=1"}, 1},
      {{"--esper", "0", "--rate", "7=1"}, 1},
      {{"--esper", "0", "--rate", "1=256"}, 1},
      {{"--esper", "0", "--spell", "1=54"}, 1},
      {{"--esper", "0", "--bonus", "256"}, 1},
      {{"--esper", "99999999999", "--rate", "1=1"}, 1, "--esper 99999999999 is out of range 0..26\n"},
      {{"--esper", "0", "--rate", "1=99999999999"}, 1, "--rate 1=99999999999 is not a rate (0..255)\n"},
      {{"--esper", "0", "--spell", "0x7FFFFFFFF=1"}, 1, "--spell 0x7FFFFFFFF=1: pairs are 1..6\n"},
      {{"--esper", "0", "--bonus", "4294967296"}, 1, "--bonus 4294967296 is not a bonus (0..254, or none)\n"},
      {{"--esper", "0"}, 2},
      {{"--esper", "x", "--rate", "1=1"}, 2},
      {{"--esper", "1\n", "--rate", "1=1"}, 2, "got \"1\\n\"\nRun with --help for more information.\n"},
      {{"--esper", "0", "--rate", "1"}, 2},
      {{"--esper", "0", "--rate", "1=-1"}, 2},
      {{"--esper", "0", "--spell", "1=fire"}, 2},
      {{"--esper", "0", "--rate", "1=1", "--rate", "1=2"}, 2},
      {{"--esper", "0", "--colour", "1"}, 2},
      {{"--rate", "1=1"}, 2},
  };
  for (const auto& [flags, status, says] : cases) {
    std::vector<std::string> args{"set", image};
    args.insert(args.end(), flags.begin(), flags.end());
    CliResult run = RunCli(args);
    EXPECT_EQ(run.Status, status) << testing::PrintToString(flags) << ": " << run.Err;
    EXPECT_TRUE(run.Err.ends_with(says)) << run.Err;
    EXPECT_FALSE(run.Err.empty());
    EXPECT_EQ(run.Out, "");
  }
  EXPECT_EQ(ReadFileBytes(image), six);

  CliResult run = RunCli({"set", five, "--esper", "0", "--rate", "1=1"});
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Err.find("five-slot"), std::string::npos) << run.Err;
  EXPECT_EQ(ReadFileBytes(five), Sample(false));
}

// Another program wrote the image between the load and the save of an edit (set, shift,
// import and checksum --fix all save through EditAndSave): the save reverted that change. Now
// nothing is written and the command fails, saying why.
TEST(SetRefusals, AnImageChangedOnDiskSinceItWasLoaded) {
  TempDir dir;
  Bytes other = Sample(true);
  const std::string image = dir.Write("image.smc", other);
  other[SlotOffset(false, 2, 0)] ^= 0x5A;
  std::istringstream in;
  std::ostringstream out, err;
  Cli::Streams io{in, out, err};
  const int status = Cli::EditAndSave(io, image, {}, [&](Cli::ImageSession& session, std::string*, std::string*) {
    session.Rom.EsperTable[1][0] = 9;
    dir.Write("image.smc", other);
    return true;
  });
  EXPECT_EQ(status, 1);
  EXPECT_EQ(err.str(), "tavero-cli: Could not save " + image +
                           ":\nit has changed on disk since it was loaded; it was left as it is.\n");
  EXPECT_EQ(ReadFileBytes(image), other);
}

}  // namespace
