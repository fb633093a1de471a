// Files that cannot be worked on, and the program itself: one message on the standard
// error, the documented exit status, and every file as it was.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <set>

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

  // Every command, on an image path.
  std::vector<std::vector<std::string>> Commands(const std::string& image) const {
    return {{"info", image},
            {"dump", image, "-f", "json"},
            {"export", image, Dir.PathOf("out.json")},
            {"import", image, Json},
            {"set", image, "--esper", "1", "--bonus", "none"},
            {"shift", image},
            {"picture", image, "--glyphs", Dir.PathOf("out.png")}};
  }

  void ExpectOneFailure(const std::vector<std::string>& args, const std::string& message) {
    CliResult run = RunCli(args);
    EXPECT_EQ(run.Status, 1) << args[0];
    EXPECT_EQ(run.Err.rfind("tavero-cli: " + message, 0), 0u) << args[0] << ": " << run.Err;
    EXPECT_EQ(run.Err.back(), '\n');
    EXPECT_EQ(run.Out, "") << args[0];
    EXPECT_FALSE(std::filesystem::exists(Dir.PathOf("out.json"))) << args[0];
    EXPECT_FALSE(std::filesystem::exists(Dir.PathOf("out.png"))) << args[0];
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

TEST_F(Failures, AMissingImage) {
  const std::string image = Dir.PathOf("missing.smc");
  for (const auto& args : Commands(image)) {
    ExpectOneFailure(args, "Could not load " + image + ":\ncannot open the file for reading");
    EXPECT_FALSE(std::filesystem::exists(image));
  }
}

TEST_F(Failures, ATooShortImage) {
  Bytes shortImage = Sample(true);
  shortImage.resize(0x200000);
  const std::string image = Dir.Write("short.smc", shortImage);
  for (const auto& args : Commands(image)) {
    ExpectOneFailure(args, "Could not load " + image + ":\nthe file is too short for an image");
    EXPECT_EQ(ReadFileBytes(image), shortImage);
  }
}

// Esper code the editor does not know is described by info and refused by every other
// command with the editor's reason, before anything is patched or written.
TEST_F(Failures, AnImageOfUnknownEsperCode) {
  Bytes unknown = Sample(false);
  unknown[RomLayout::RecordSizeProbeB] = 0x0D;
  const std::string image = Dir.Write("unknown.smc", unknown);
  for (const auto& args : Commands(image)) {
    if (args[0] == "info")
      EXPECT_EQ(RunCli(args).Status, 0);
    else
      ExpectOneFailure(args, "Could not load " + image + ":\nthe image's esper code is not one the editor knows: its "
                             "record-size probes read 0x0B and 0x0D");
    EXPECT_EQ(ReadFileBytes(image), unknown);
  }
}

TEST_F(Failures, AReadOnlyImageCanBeLookedAtButNotChanged) {
  const Bytes six = Sample(true);
  const std::string image = Dir.Write("locked.smc", six);
  ReadOnlyFile locked(image);
  for (const auto& args : Commands(image)) {
    const bool writes = args[0] == "import" || args[0] == "set" || args[0] == "shift";
    if (writes) {
      ExpectOneFailure(args, "Could not load " + image + ":\ncannot open the file for reading and writing");
    } else {
      EXPECT_EQ(RunCli(args).Status, 0) << args[0];
      std::filesystem::remove(Dir.PathOf("out.json"));
      std::filesystem::remove(Dir.PathOf("out.png"));
    }
    EXPECT_EQ(ReadFileBytes(image), six);
  }
}

TEST_F(Failures, AMissingJsonFile) {
  const Bytes six = Sample(true);
  const std::string image = Dir.Write("image.smc", six);
  ExpectOneFailure({"import", image, Dir.PathOf("none.json")}, "Could not read " + Dir.PathOf("none.json"));
  EXPECT_EQ(ReadFileBytes(image), six);
}

// --output once copied the input over the output before the command was checked: a command
// that then failed left the output replaced by a copy of the input, or removed it.
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

  CliResult good = RunCli({"set", sixImage, "--esper", "0", "--rate", "1=9", "--output", existing});
  ASSERT_EQ(good.Status, 0) << good.Err;
  Bytes expected = six;
  expected[RomLayout::EsperDataBlock] = 9;
  EXPECT_EQ(ReadFileBytes(existing), expected);
  EXPECT_EQ(ReadFileBytes(sixImage), six);
  EXPECT_EQ(files(), present);

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
  if (!lock.Locked()) GTEST_SKIP() << "the immutable attribute cannot be set on " << folder;
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

  for (const char* command : {"info", "dump", "export", "import", "set", "shift", "picture"}) {
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
