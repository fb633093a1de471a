// Files that cannot be worked on, and the program itself: one message on the standard
// error, the documented exit status, and every file as it was.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <set>
#include <sstream>
#include <thread>
#include <utility>

#include "CliRun.h"
#include "FaultingFileSystem.h"
#include "cli/CliApp.h"
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
    for (const char* out : {"out.json", "out.png", "out.bps", "out.smc"})
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

// Images a command may not be able to work on. A FIFO stands for every file that is not a
// regular one (devices, sockets).
enum class Unworkable { Missing, TooShort, UnknownEsperCode, ReadOnly, Fifo };

void PrintTo(Unworkable image, std::ostream* out) {
  static const char* const Names[] = {"Missing", "TooShort", "UnknownEsperCode", "ReadOnly", "Fifo"};
  *out << Names[static_cast<int>(image)];
}

const char* const CannotOpen = "Could not load IMAGE:\ncannot open the file for reading";
// The length a file of 2 MiB needs, not one computed with the header such a length gives
// (which no file could reach: its own length gives it another header).
const char* const TooShort =
    "Could not load IMAGE:\nthe file is too short for an image: it needs at least 0x270000 bytes (0x270200 with a "
    "copier header), and it has 0x200000.";
const char* const UnknownCode =
    "Could not load IMAGE:\nthe image's esper code is not one the editor knows: its record-size probes read 0x0B and "
    "0x0D";
const char* const NotWritable = "Could not load IMAGE:\ncannot open the file for reading and writing";
// A FIFO hung every command that opened it (the open waits for a writer); /dev/zero was
// "Invalid argument".
const char* const NotRegular = "Could not load IMAGE:\ncannot open the file for reading: not a regular file.";
const char* const NotRegularToWrite =
    "Could not load IMAGE:\ncannot open the file for reading and writing: not a regular file.";
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
  const char* Fifo;
  const char* For(Unworkable image) const {
    switch (image) {
      case Unworkable::Missing: return Missing;
      case Unworkable::TooShort: return TooShort;
      case Unworkable::UnknownEsperCode: return UnknownEsperCode;
      case Unworkable::ReadOnly: return ReadOnly;
      case Unworkable::Fifo: break;
    }
    return Fifo;
  }
};

const CommandOutcomes EveryCommand[] = {
    {{"info", "IMAGE"}, CannotOpen, TooShort, Works, Works, NotRegular},
    {{"dump", "IMAGE", "-f", "json"}, CannotOpen, TooShort, UnknownCode, Works, NotRegular},
    {{"export", "IMAGE", "out.json"}, CannotOpen, TooShort, UnknownCode, Works, NotRegular},
    {{"import", "IMAGE", "JSON"}, CannotOpen, TooShort, UnknownCode, NotWritable, NotRegularToWrite},
    {{"set", "IMAGE", "--esper", "1", "--bonus", "none"},
     CannotOpen,
     TooShort,
     UnknownCode,
     NotWritable,
     NotRegularToWrite},
    {{"shift", "IMAGE"}, CannotOpen, TooShort, UnknownCode, NotWritable, NotRegularToWrite},
    {{"picture", "IMAGE", "--glyphs", "out.png"}, CannotOpen, TooShort, UnknownCode, Works, NotRegular},
    // patch and checksum read the bytes only, at any length and any esper code.
    {{"patch", "IMAGE", "OTHER", "out.bps"}, CannotOpen, "IMAGE and OTHER differ in length", Works, Works, NotRegular},
    {{"checksum", "IMAGE", "--fix", "--output", "out.smc"}, CannotOpen, Works, Works, Works, NotRegular},
    {{"diff", "IMAGE", "OTHER"}, CannotOpen, TooShort, Works, Works, NotRegular},
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
      case Unworkable::Fifo:
        bytes.clear();
        EXPECT_EQ(::mkfifo(Dir.PathOf("fifo.smc").c_str(), 0644), 0);
        return Dir.PathOf("fifo.smc");
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
      for (const char* out : {"out.json", "out.png", "out.bps", "out.smc"})
        made = std::filesystem::remove(Dir.PathOf(out)) || made;
      EXPECT_TRUE(made || !run.Out.empty()) << args[0] << " did something";
    }
    if (GetParam() == Unworkable::Missing)
      EXPECT_FALSE(std::filesystem::exists(image)) << args[0];
    else if (GetParam() == Unworkable::Fifo)
      EXPECT_TRUE(std::filesystem::is_fifo(image)) << args[0];
    else
      EXPECT_EQ(ReadFileBytes(image), bytes) << args[0];
  }
}

INSTANTIATE_TEST_SUITE_P(Images, UnworkableImages,
                         ::testing::Values(Unworkable::Missing, Unworkable::TooShort, Unworkable::UnknownEsperCode,
                                           Unworkable::ReadOnly, Unworkable::Fifo),
                         [](const ::testing::TestParamInfo<Unworkable>& image) {
                           return ::testing::PrintToString(image.param);
                         });

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

// Faults in the files tavero-cli reads itself (the JSON, the copy for --output), given through
// the file layer; JSON and IMAGE stand for the files, FOLDER for a folder. The reads once went
// through a C++ stream outside that layer, which threw on a folder or a failing disk and
// aborted the program (exit 134). A close that fails after an in-place save was written,
// flushed and read back was reported as a failed save though the file held the new bytes.
struct FileFault {
  const char* Name;
  std::vector<std::string> Args;
  std::optional<FaultingFileSystem::Operation> Fails;
  int Skip;                 // calls of that operation that go through first
  int Status;               // 1, or 0 for a warning
  const char* Message;      // the standard error, whole
  bool HardLinked = false;  // a second link, so that the save writes into the file itself
  friend void PrintTo(const FileFault& fault, std::ostream* out) { *out << fault.Name; }
};

using Operation = FaultingFileSystem::Operation;
const FileFault FaultsInTheFilesRead[] = {
    {"JsonMissing",
     {"import", "IMAGE", "MISSING"},
     std::nullopt,
     0,
     1,
     "Could not read MISSING:\ncannot open the file for reading: No such file or directory.\n"},
    {"JsonIsAFolder",
     {"import", "IMAGE", "FOLDER"},
     std::nullopt,
     0,
     1,
     "Could not read FOLDER:\ncannot open the file for reading: Is a directory.\n"},
    {"JsonLengthUnknown",
     {"import", "IMAGE", "JSON"},
     Operation::Length,
     0,
     1,
     "Could not read JSON:\ncannot tell the file's length: Input/output error.\n"},
    {"JsonReadFails",
     {"import", "IMAGE", "JSON"},
     Operation::Read,
     0,
     1,
     "Could not read JSON:\ncannot read the file: Input/output error.\n"},
    {"OutputCopyReadFails",
     {"set", "IMAGE", "--esper", "1", "--bonus", "none", "--output", "OUT"},
     Operation::Read,
     0,
     1,
     "Could not load IMAGE:\ncannot read the file: Input/output error.\n"},
    // The first close is the load's.
    {"CloseFailsAfterTheSave",
     {"set", "IMAGE", "--esper", "1", "--bonus", "none"},
     Operation::Close,
     1,
     0,
     "warning: saved IMAGE, but cannot close the file: Input/output error; the file reads back as saved\n",
     true},
};

class FileFaults : public Failures, public ::testing::WithParamInterface<FileFault> {};

TEST_P(FileFaults, AreOneMessageAndLeaveEveryFileAsItWas) {
  const FileFault& fault = GetParam();
  const Bytes six = Sample(true);
  const std::string image = Dir.Write("image.smc", six);
  std::filesystem::create_directory(Dir.PathOf("folder"));
  const std::pair<std::string, std::string> names[] = {{"IMAGE", image},
                                                       {"JSON", Json},
                                                       {"MISSING", Dir.PathOf("none.json")},
                                                       {"FOLDER", Dir.PathOf("folder")},
                                                       {"OUT", Dir.PathOf("out.smc")}};
  auto put = [&](std::string text) {
    for (const auto& [name, path] : names)
      for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + path.size()))
        text.replace(at, name.size(), path);
    return text;
  };
  std::vector<std::string> args;
  for (const std::string& arg : fault.Args) args.push_back(put(arg));
  if (fault.HardLinked) std::filesystem::create_hard_link(image, Dir.PathOf("second.smc"));

  CliResult run;
  {
    FaultingFileSystem faults;
    if (fault.Fails) faults.Arm(*fault.Fails, 0, fault.Skip);
    run = RunCli(args);
  }
  EXPECT_EQ(run.Status, fault.Status);
  EXPECT_EQ(run.Err, "tavero-cli: " + put(fault.Message));
  EXPECT_FALSE(std::filesystem::exists(Dir.PathOf("out.smc")));
  if (fault.Status == 0)
    EXPECT_EQ(Differences(ReadFileBytes(image), six), std::vector<std::size_t>{SlotOffset(false, 1, 12)});
  else
    EXPECT_EQ(ReadFileBytes(image), six);
}

INSTANTIATE_TEST_SUITE_P(Reads, FileFaults, ::testing::ValuesIn(FaultsInTheFilesRead),
                         [](const ::testing::TestParamInfo<FileFault>& fault) {
                           return std::string(fault.param.Name);
                         });

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

// Reads a FIFO on a thread of its own, so that its writer never waits on it: what arrived by
// the time the writer closed it.
class FifoReader {
 public:
  explicit FifoReader(const std::string& path)
      : Fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)), Thread([this] { ReadAll(); }) {}
  ~FifoReader() {
    if (Thread.joinable()) Thread.join();
    ::close(Fd);
  }
  FifoReader(const FifoReader&) = delete;
  FifoReader& operator=(const FifoReader&) = delete;
  Bytes Take() {
    Thread.join();
    return Got;
  }

 private:
  // A FIFO polls readable once a writer has written or gone; at most 10 s for none to come.
  void ReadAll() {
    pollfd wait{Fd, POLLIN, 0};
    while (::poll(&wait, 1, 10000) > 0) {
      std::uint8_t block[4096];
      const ssize_t got = ::read(Fd, block, sizeof block);
      if (got == 0 || (got < 0 && errno != EAGAIN)) break;
      if (got > 0) Got.insert(Got.end(), block, block + got);
    }
  }
  int Fd;
  Bytes Got;
  std::thread Thread;
};

// --output, export, picture and patch replaced a FIFO or a device at their output path with a
// regular file. The commands that stream their output write through it (so > /dev/null and a
// shell's process substitution work); those that write an image refuse it.
TEST_F(Failures, AnOutputThatIsNotARegularFileIsNeverReplaced) {
  const std::string fifo = Dir.PathOf("fifo"), device = Dir.PathOf("null");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  std::filesystem::create_symlink("/dev/null", device);
  for (const auto& command : NewFileCommands()) {
    const bool streams = command[0] == "export" || command[0] == "picture" || command[0] == "patch";
    ASSERT_EQ(RunCli(To(command, Dir.PathOf("regular"))).Status, 0) << command[0];
    const Bytes expected = ReadFileBytes(Dir.PathOf("regular"));
    for (const std::string& out : {fifo, device}) {
      std::optional<FifoReader> reader;
      if (streams && out == fifo) reader.emplace(fifo);
      CliResult run = RunCli(To(command, out));
      if (streams) {
        EXPECT_EQ(run.Status, 0) << command[0] << " " << out << ": " << run.Err;
        if (reader) {
          EXPECT_EQ(reader->Take(), expected) << command[0];
        }
      } else {
        EXPECT_EQ(run.Status, 1) << command[0] << " " << out;
        EXPECT_EQ(run.Err, "tavero-cli: --output " + out +
                               " is not a regular file; an image is written to a regular file or a new name, never "
                               "through another kind of file\n");
      }
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo)) << command[0];
    EXPECT_TRUE(std::filesystem::is_symlink(device)) << command[0];
  }
}

// A line break in a file name was printed raw: the name read as two lines of the message.
TEST_F(Failures, ControlCharactersInAFileNameAreEscapedWhereverItIsNamed) {
  ExpectOneFailure({"info", Dir.PathOf("a\nb\x1B.smc")},
                   "Could not load " + Dir.PathOf("a\\nb\\x1B.smc") + ":\ncannot open the file for reading");
  CliResult run = RunCli(
      {"set", Dir.Write("six.smc", Sample(true)), "-e", "1", "--bonus", "none", "-o", Dir.PathOf("tab\there.smc")});
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_TRUE(run.Out.ends_with("\nsaved " + Dir.PathOf("tab\\there.smc") + "\n")) << run.Out;
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

  // The program's own standard output, on a full disk: it once ended with 0, all lost.
  CliResult full = RunProgram(dir, {"dump", image}, "/dev/full");
  EXPECT_EQ(full.Status, 1);
  EXPECT_EQ(full.Err, "tavero-cli: could not write the standard output: No space left on device\n");
}

// A standard output that takes nothing, as a full disk or a closed pipe would.
class RefusingBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
};

// Every command that prints its result exited 0 when the output could not be written.
TEST(StandardOutput, ThatCannotBeWrittenIsAFailureWithAMessage) {
  TempDir dir;
  SampleImage::Options options = SampleOptions(true);
  options.InternalHeader = true;
  const std::string six = dir.Write("six.smc", SampleImage::Make(options));
  const std::string five = dir.Write("five.smc", Sample(false));
  const std::vector<std::string> commands[] = {{"info", six},        {"dump", six},     {"diff", six, five},
                                               {"export", six, "-"}, {"checksum", six}, {"shift", five}};
  for (const std::vector<std::string>& command : commands) {
    std::istringstream in;
    RefusingBuffer refusing;
    std::ostream out(&refusing);
    std::ostringstream err;
    Cli::Streams io{in, out, err};
    std::vector<std::string> args{"tavero-cli"};
    args.insert(args.end(), command.begin(), command.end());
    EXPECT_EQ(Cli::RunCli(args, io), 1) << command[0];
    EXPECT_EQ(err.str(), "tavero-cli: could not write the standard output: the stream took no more\n") << command[0];
  }
}

}  // namespace
