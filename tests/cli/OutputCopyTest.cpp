// --output NEW: the command works on a copy, NEW takes what the command in place would have
// written, the input stays, and nothing is left beside NEW.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <nlohmann/json.hpp>

#include "CliRun.h"
#include "cli/Interruption.h"
#include "cli/PendingFile.h"

namespace {

struct CopyCase {
  const char* Name;
  std::vector<std::string> Args;  // IMAGE stands for the input; --output is added
  SampleImage::Options Image;
  std::function<void(Bytes&)> Change;  // to the input, before the command
  std::size_t From = 0, To = 0;        // where NEW may differ from the input; none: not said here
  std::function<std::string(const std::string& image)> Input;  // the standard input
  friend void PrintTo(const CopyCase& c, std::ostream* out) { *out << c.Name; }
};

SampleImage::Options WithInternalHeader(SampleImage::Options options) {
  options.InternalHeader = true;
  return options;
}

// The esper table of image with esper 0's first rate made 201, as import reads it.
std::string EditedExport(const std::string& image) {
  nlohmann::json document = nlohmann::json::parse(RunCli({"export", image, "-"}).Out);
  document["espers"][0]["spells"][0]["rate"] = 201;
  return document.dump();
}

const CopyCase Cases[] = {
    {"Import",
     {"import", "IMAGE", "-"},
     SampleOptions(true, true),
     nullptr,
     SlotOffset(true, 0, 0),
     SlotOffset(true, 0, 0) + 1,
     EditedExport},
    {"Set",
     {"set", "IMAGE", "--esper", "0", "--rate", "1=9"},
     SampleOptions(true),
     nullptr,
     SlotOffset(false, 0, 0),
     SlotOffset(false, 0, 0) + 1,
     nullptr},
    {"Shift", {"shift", "IMAGE"}, SampleOptions(false, true), nullptr, 0, 0, nullptr},
    {"ChecksumFix",
     {"checksum", "IMAGE", "--fix"},
     WithInternalHeader(SampleOptions(true)),
     [](Bytes& bytes) { bytes[SlotOffset(false, 3, 0)] ^= 0x5A; },
     0xFFDC,
     0xFFE0,
     nullptr},
};

class OutputCopy : public ::testing::TestWithParam<CopyCase> {
 protected:
  CliResult Run(const std::string& image, const std::vector<std::string>& extra) {
    std::vector<std::string> args;
    for (const std::string& arg : GetParam().Args) args.push_back(arg == "IMAGE" ? image : arg);
    args.insert(args.end(), extra.begin(), extra.end());
    return RunCli(args, GetParam().Input ? GetParam().Input(image) : "");
  }
  TempDir Dir;
};

// Faults: the input written as well as the copy, a copy that misses the edit or differs from
// what the command writes in place, an existing NEW not replaced, a temporary file left.
TEST_P(OutputCopy, TakesWhatTheCommandWritesInPlaceAndLeavesTheInput) {
  const CopyCase& c = GetParam();
  Bytes input = SampleImage::Make(c.Image);
  if (c.Change) c.Change(input);
  const std::string image = Dir.Write("input.smc", input);
  const std::string inPlace = Dir.Write("in-place.smc", input);
  ASSERT_EQ(Run(inPlace, {}).Status, 0);
  const Bytes written = ReadFileBytes(inPlace);
  ASSERT_NE(Differences(written, input), std::vector<std::size_t>{});
  if (c.To != 0) {
    for (std::size_t at : Differences(written, input)) EXPECT_TRUE(at >= c.From && at < c.To) << at;
  }

  for (const bool existing : {false, true}) {
    const std::string copy = Dir.PathOf("copy.smc");
    if (existing) Dir.Write("copy.smc", PatternedBytes(0x1000));
    CliResult run = Run(image, {"--output", copy});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(run.Out.ends_with("saved " + copy + "\n")) << run.Out;
    EXPECT_EQ(Differences(ReadFileBytes(copy), written), std::vector<std::size_t>{}) << "existing: " << existing;
    EXPECT_EQ(ReadFileBytes(image), input) << "existing: " << existing;
    for (const auto& entry : std::filesystem::directory_iterator(Dir.PathOf("")))
      EXPECT_EQ(entry.path().filename().string().find(".tavero-"), std::string::npos) << entry.path();
    std::filesystem::remove(copy);
  }
}

INSTANTIATE_TEST_SUITE_P(Commands, OutputCopy, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<CopyCase>& c) { return std::string(c.param.Name); });

// SIGTERM during --output left the temporary beside the output (48 MB of a large image). The
// program is stopped by the signal (in a child, with the handlers the entry point installs)
// while it writes one, and nothing is left.
TEST(Stopped, BySigintOrSigtermTheProgramRemovesItsTemporaryAndEndsAsTheSignalWould) {
  TempDir dir;
  const Bytes image = Sample(false);
  for (const int stop : {SIGINT, SIGTERM}) {
    const pid_t child = ::fork();
    if (child == 0) {
      Cli::RemoveTemporariesWhenStopped();
      Cli::PendingFile pending(dir.PathOf("out.smc"));
      if (pending.Create() && pending.Write(image)) ::raise(stop);
      ::_exit(2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == stop) << status;
    EXPECT_TRUE(std::filesystem::is_empty(dir.PathOf(""))) << "signal " << stop;
  }
}

}  // namespace
