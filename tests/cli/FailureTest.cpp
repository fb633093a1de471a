// Files that cannot be worked on, and the program itself: one message on the standard
// error, the documented exit status, and every file as it was.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <optional>
#include <set>
#include <utility>

#include "CliRun.h"
#include "framework/NewFile.h"
#include "rom/RomLayout.h"

namespace {

class Failures : public ::testing::Test {
 protected:
  void SetUp() override {
    Json = Dir.PathOf("espers.json");  // a good document, from a good image
    ASSERT_EQ(RunCli({"export", Dir.Write("good.smc", Sample(true)), Json}).Status, 0);
  }

  void ExpectOneFailure(const std::vector<std::string>& args, const std::string& message) {
    CliResult run = RunCli(args);
    EXPECT_EQ(run.Status, 1) << args[0];
    EXPECT_EQ(run.Err.rfind("tavero-cli: " + message, 0), 0u) << args[0] << ": " << run.Err;
    EXPECT_EQ(run.Err.back(), '\n');
    EXPECT_EQ(run.Out, "") << args[0];
    for (const char* out : {"out.json", "out.png", "out.bps"})
      EXPECT_FALSE(std::filesystem::exists(Dir.PathOf(out))) << args[0] << " made " << out;
  }

  // Every command that writes a new file, to OUT: the JSON, PNG and patch writers, a
  // checksummed copy and an edited copy.
  std::vector<std::vector<std::string>> NewFileCommands() const {
    SampleImage::Options options = SampleOptions(true);
    options.InternalHeader = true;
    Bytes image = SampleImage::Make(options);
    const std::string original = Dir.Write("hirom.smc", image);
    image[SlotOffset(false, 3, 0)] ^= 0x5A;  // and a stale checksum
    const std::string edited = Dir.Write("edited.smc", image);
    return {{"export", original, "OUT"},
            {"picture", original, "--names", "OUT"},
            {"patch", original, edited, "OUT"},
            {"checksum", edited, "--fix", "--output", "OUT"},
            {"set", original, "--esper", "1", "--bonus", "none", "--output", "OUT"}};
  }
  static std::vector<std::string> To(std::vector<std::string> args, const std::string& out) {
    for (std::string& arg : args)
      if (arg == "OUT") arg = out;
    return args;
  }

  TempDir Dir;
  std::string Json;
};

// Images a command may not be able to work on.
enum class Unworkable { Missing, TooShort, UnknownEsperCode, ReadOnly };

const char* const CannotOpen = "Could not load IMAGE:\ncannot open the file for reading";
const char* const TooShort = "Could not load IMAGE:\nthe file is too short for an image";
const char* const UnknownCode =
    "Could not load IMAGE:\nthe image's esper code is not one the editor knows: its record-size probes read 0x0B and "
    "0x0D";
const char* const NotWritable = "Could not load IMAGE:\ncannot open the file for reading and writing";
const char* const Works = "";

// Every command beside what it does with each such image: the message it fails with (after
// "tavero-cli: "), or Works. IMAGE is the image, OTHER a good image of the same length, JSON
// a good document and out.* files the command must not make when it fails. Faults: a command
// left out of the dispatch, which ran nothing and said nothing; one that works on an image
// the editor refuses, or refuses what it only reads.
struct CommandOutcomes {
  std::vector<std::string> Args;
  const char* Missing;
  const char* TooShort;
  const char* UnknownEsperCode;
  const char* ReadOnly;
  const char* For(Unworkable image) const {
    switch (image) {
      case Unworkable::Missing: return Missing;
      case Unworkable::TooShort: return TooShort;
      case Unworkable::UnknownEsperCode: return UnknownEsperCode;
      case Unworkable::ReadOnly: break;
    }
    return ReadOnly;
  }
};

const CommandOutcomes EveryCommand[] = {
    {{"info", "IMAGE"}, CannotOpen, TooShort, Works, Works},
    {{"dump", "IMAGE", "-f", "json"}, CannotOpen, TooShort, UnknownCode, Works},
    {{"export", "IMAGE", "out.json"}, CannotOpen, TooShort, UnknownCode, Works},
    {{"import", "IMAGE", "JSON"}, CannotOpen, TooShort, UnknownCode, NotWritable},
    {{"set", "IMAGE", "--esper", "1", "--bonus", "none"}, CannotOpen, TooShort, UnknownCode, NotWritable},
    {{"shift", "IMAGE"}, CannotOpen, TooShort, UnknownCode, NotWritable},
    {{"picture", "IMAGE", "--glyphs", "out.png"}, CannotOpen, TooShort, UnknownCode, Works},
    // patch and checksum read the bytes only, at any length and any esper code.
    {{"patch", "IMAGE", "OTHER", "out.bps"}, CannotOpen, "IMAGE and OTHER differ in length", Works, Works},
    {{"checksum", "IMAGE"}, CannotOpen, Works, Works, Works},
    {{"diff", "IMAGE", "OTHER"}, CannotOpen, TooShort, Works, Works},
};

class UnworkableImages : public Failures, public ::testing::WithParamInterface<Unworkable> {
 protected:
  // The image's path, and the bytes it holds (none when missing).
  std::string Make(Bytes& bytes) {
    SampleImage::Options options = SampleOptions(GetParam() != Unworkable::UnknownEsperCode);
    options.InternalHeader = true;
    bytes = SampleImage::Make(options);
    switch (GetParam()) {
      case Unworkable::Missing: bytes.clear(); return Dir.PathOf("missing.smc");
      case Unworkable::TooShort: bytes.resize(0x200000); return Dir.Write("short.smc", bytes);
      case Unworkable::UnknownEsperCode:
        bytes[RomLayout::RecordSizeProbeB] = 0x0D;
        return Dir.Write("unknown.smc", bytes);
      case Unworkable::ReadOnly: break;
    }
    return Dir.Write("locked.smc", bytes);
  }
};

TEST_P(UnworkableImages, EachCommandFailsWithOneMessageOrWorksAndLeavesTheImage) {
  Bytes bytes;
  const std::string image = Make(bytes);
  const std::string other = Dir.Write("other.smc", Sample(true, false, 1));
  std::optional<ReadOnlyFile> locked;
  if (GetParam() == Unworkable::ReadOnly) locked.emplace(image);
  auto put = [&](std::string text) {
    for (const auto& [name, path] : {std::pair<std::string, std::string>{"IMAGE", image}, {"OTHER", other}}) {
      for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + path.size()))
        text.replace(at, name.size(), path);
    }
    return text;
  };
  for (const CommandOutcomes& command : EveryCommand) {
    std::vector<std::string> args;
    for (const std::string& arg : command.Args)
      args.push_back(arg == "JSON" ? Json : arg.starts_with("out.") ? Dir.PathOf(arg) : put(arg));
    const std::string message = command.For(GetParam());
    if (!message.empty()) {
      ExpectOneFailure(args, put(message));
    } else {
      CliResult run = RunCli(args);
      EXPECT_EQ(run.Status, 0) << args[0] << ": " << run.Err;
      bool made = false;
      for (const char* out : {"out.json", "out.png", "out.bps"})
        made = std::filesystem::remove(Dir.PathOf(out)) || made;
      EXPECT_TRUE(made || !run.Out.empty()) << args[0] << " did something";
    }
    if (GetParam() == Unworkable::Missing)
      EXPECT_FALSE(std::filesystem::exists(image)) << args[0];
    else
      EXPECT_EQ(ReadFileBytes(image), bytes) << args[0];
  }
}

std::string UnworkableName(const ::testing::TestParamInfo<Unworkable>& image) {
  static const char* const Names[] = {"Missing", "TooShort", "UnknownEsperCode", "ReadOnly"};
  return Names[static_cast<int>(image.param)];
}

INSTANTIATE_TEST_SUITE_P(Images, UnworkableImages,
                         ::testing::Values(Unworkable::Missing, Unworkable::TooShort, Unworkable::UnknownEsperCode,
                                           Unworkable::ReadOnly),
                         UnworkableName);

// A folder nobody can add a file to, root included (the immutable attribute that chattr +i
// sets), for the life of the object; Locked() is false where it cannot be set.
class LockedFolder {
 public:
  explicit LockedFolder(std::string path) : Path(std::move(path)), Done(Set(true)) {}
  ~LockedFolder() {
    if (Done) Set(false);
  }
  LockedFolder(const LockedFolder&) = delete;
  LockedFolder& operator=(const LockedFolder&) = delete;
  bool Locked() const { return Done; }

 private:
  bool Set(bool locked) const {
    const int fd = ::open(Path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool set = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = locked ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    set = set && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return set;
  }
  std::string Path;
  bool Done;
};

TEST_F(Failures, AMissingJsonFile) {
  const Bytes six = Sample(true);
  const std::string image = Dir.Write("image.smc", six);
  ExpectOneFailure({"import", image, Dir.PathOf("none.json")}, "Could not read " + Dir.PathOf("none.json"));
  EXPECT_EQ(ReadFileBytes(image), six);
}

// --output once copied the input over the output before the command was checked: a command
// that then failed left the output replaced by a copy of the input, or removed it. (What a
// good one leaves is in OutputCopyTest.)
TEST_F(Failures, AFailedCommandLeavesItsOutputAsItWasAndNothingBehind) {
  const Bytes five = Sample(false), six = Sample(true);
  const std::string fiveImage = Dir.Write("five.smc", five);
  const std::string sixImage = Dir.Write("six.smc", six);
  const Bytes before = PatternedBytes(0x1000);
  const std::string existing = Dir.Write("existing.smc", before);
  const std::string absent = Dir.PathOf("absent.smc");
  auto files = [&] {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Dir.PathOf(""))) names.insert(entry.path().filename());
    return names;
  };
  const std::set<std::string> present = files();

  const std::vector<std::string> failing[] = {
      {"set", sixImage, "--esper", "0", "--spell", "1=54"},  // checked against the image, after the copy
      {"import", fiveImage, Json},                           // five-slot: refused after the copy
      {"shift", sixImage},                                   // six-slot without --force
  };
  for (const std::vector<std::string>& command : failing)
    for (const std::string& output : {existing, absent}) {
      std::vector<std::string> args = command;
      args.insert(args.end(), {"--output", output});
      CliResult run = RunCli(args);
      EXPECT_EQ(run.Status, 1) << args[0];
      EXPECT_EQ(ReadFileBytes(existing), before) << args[0];
      EXPECT_EQ(files(), present) << args[0] << ": no output made, no temporary file left";
    }
  EXPECT_EQ(ReadFileBytes(sixImage), six);
  EXPECT_EQ(ReadFileBytes(fiveImage), five);

  ExpectOneFailure({"shift", fiveImage, "--output", fiveImage}, "--output " + fiveImage + " is the input image itself");
  ExpectOneFailure({"export", sixImage, sixImage}, sixImage + " is the image itself");
  ExpectOneFailure({"picture", sixImage, "--names", sixImage}, sixImage + " is the image itself");
  EXPECT_EQ(ReadFileBytes(sixImage), six);
  ExpectOneFailure({"shift", fiveImage, "--output", Dir.PathOf("no/such/folder.smc")}, "Could not copy");
  EXPECT_EQ(ReadFileBytes(fiveImage), five);
}

// An output in a folder that cannot be written to was reported as the file that "cannot be
// opened or written; it was left as it was", even when there was no such file.
TEST_F(Failures, AFolderThatCannotBeWrittenToIsNamedAsTheFolder) {
  const std::string folder = Dir.PathOf("locked");
  std::filesystem::create_directory(folder);
  const Bytes before = PatternedBytes(0x1000);
  const std::string existing = Dir.Write("locked/existing.smc", before);
  const auto commands = NewFileCommands();
  LockedFolder lock(folder);
  // Needs root (CI runs as root) and a file system with the attribute: a failure says so, never a silent skip.
  ASSERT_TRUE(lock.Locked()) << "the immutable attribute cannot be set on " << folder;
  for (const bool exists : {false, true})
    for (const auto& command : commands) {
      const std::vector<std::string> args = To(command, exists ? existing : folder + "/absent.smc");
      CliResult run = RunCli(args);
      EXPECT_EQ(run.Status, 1) << args[0];
      EXPECT_NE(run.Err.find(":\nthe folder " + folder + " cannot be written to: "), std::string::npos) << run.Err;
      EXPECT_EQ(run.Err.find("left as it was") != std::string::npos, exists) << run.Err;
    }
  EXPECT_EQ(ReadFileBytes(existing), before);
  EXPECT_FALSE(std::filesystem::exists(folder + "/absent.smc"));
}

// The temporary file beside an output once took the output's whole name and more, past the
// 255 bytes a file name may have, so the longest names could not be written at all.
TEST_F(Failures, AnOutputOfTheLongestNameIsWrittenAndNothingLeftBeside) {
  const std::string longest = Dir.PathOf(std::string(251, 'n') + ".out");
  for (const auto& command : NewFileCommands()) {
    const std::vector<std::string> args = To(command, longest);
    CliResult run = RunCli(args);
    EXPECT_EQ(run.Status, 0) << args[0] << ": " << run.Err;
    EXPECT_TRUE(std::filesystem::remove(longest)) << args[0];
  }
  for (const auto& entry : std::filesystem::directory_iterator(Dir.PathOf("")))
    EXPECT_EQ(entry.path().filename().string().find(".tavero-"), std::string::npos) << entry.path();
}

// A link planted at the name of a new file would have it written through to the link's target
// (or the target made); and a file at that name is not the new file's to remove.
TEST(NewFile, ANameTakenByALinkOrFileIsNeitherFollowedNorRemoved) {
  TempDir dir;
  const Bytes victim = PatternedBytes(0x100);
  const std::string target = dir.Write("target", victim), taken = dir.Write("taken", victim);
  std::filesystem::create_symlink(target, dir.PathOf("link"));
  std::filesystem::create_symlink(dir.PathOf("made-by-link"), dir.PathOf("dangling"));
  for (const char* name : {"link", "dangling", "taken"}) {
    {
      CNewFile file;
      EXPECT_FALSE(file.Create(CString(dir.PathOf(name)))) << name;
      EXPECT_TRUE(file.NameTaken()) << name;
    }
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(dir.PathOf(name)))) << name;
  }
  EXPECT_EQ(ReadFileBytes(target), victim);
  EXPECT_EQ(ReadFileBytes(taken), victim);
  EXPECT_FALSE(std::filesystem::exists(dir.PathOf("made-by-link")));
}

// The built program: its entry point, streams and exit statuses.
TEST(Program, ExitStatusesAndStreams) {
  TempDir dir;
  CliResult help = RunProgram(dir, {"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Out.find("Subcommands:"), std::string::npos);
  EXPECT_EQ(help.Err, "");

  for (const char* command :
       {"info", "dump", "export", "import", "set", "shift", "picture", "patch", "checksum", "diff"}) {
    CliResult sub = RunProgram(dir, {command, "--help"});
    EXPECT_EQ(sub.Status, 0) << command;
    EXPECT_NE(sub.Out.find("Usage: tavero-cli " + std::string(command)), std::string::npos) << sub.Out;
  }

  for (const std::vector<std::string>& wrong : {std::vector<std::string>{},
                                                {"frobnicate"},
                                                {"dump"},
                                                {"dump", "x.smc", "--format", "xml"},
                                                {"info", "a", "b"}}) {
    CliResult run = RunProgram(dir, wrong);
    EXPECT_EQ(run.Status, 2) << testing::PrintToString(wrong);
    EXPECT_NE(run.Err, "");
    EXPECT_EQ(run.Out, "");
  }

  CliResult missing = RunProgram(dir, {"info", dir.PathOf("missing.smc")});
  EXPECT_EQ(missing.Status, 1);
  EXPECT_EQ(missing.Err.rfind("tavero-cli: Could not load ", 0), 0u) << missing.Err;
  EXPECT_EQ(missing.Out, "");

  const std::string image = dir.Write("image.smc", Sample(true));
  CliResult dump = RunProgram(dir, {"dump", image, "--format", "json"});
  EXPECT_EQ(dump.Status, 0) << dump.Err;
  EXPECT_EQ(dump.Out, RunCli({"dump", image, "--format", "json"}).Out);
}

}  // namespace
