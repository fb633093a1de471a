#pragma once
// The subcommands, once their arguments are parsed. Each prints what it has to say to Out,
// its one message on failure to Err, and returns the exit status (ExitCode).

#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Cli {

// ExitChecksumStale: checksum found the stored sum stale and was not asked to fix it.
enum ExitCode { ExitSuccess = 0, ExitFailed = 1, ExitUsage = 2, ExitChecksumStale = 3 };

struct Streams {
  std::istream& In;
  std::ostream& Out;
  std::ostream& Err;
};

int RunInfo(Streams& io, const std::string& image);

enum class DumpFormat { Text, Json, Csv };
int RunDump(Streams& io, const std::string& image, DumpFormat format);

// How a command that changes an image delivers the result: in place, to a copy at Output,
// or as a patch at Patch from the file on disk to the bytes the save would write (the image
// is then not written). FixChecksum stores the internal checksum of what is written.
struct SaveOptions {
  std::optional<std::string> Output;
  std::optional<std::string> Patch;
  bool Ips = false;  // the patch as IPS rather than BPS
  bool FixChecksum = false;
};

// json "-" is the standard output (export) or input (import).
int RunExport(Streams& io, const std::string& image, const std::string& json);
int RunImport(Streams& io, const std::string& image, const std::string& json, const SaveOptions& save);

// "--rate K=R" or "--spell K=S": the numbers (INT_MAX for one too large), and the item as
// typed, which messages echo.
struct PairValue {
  int Pair = 0;
  int Value = 0;
  std::string Typed;
};

// One edit of one esper. Values are checked here, against the image, as import checks them.
struct SetRequest {
  int Esper = 0;
  std::string EsperTyped;
  std::vector<PairValue> Rates;   // pair 1..6, rate
  std::vector<PairValue> Spells;  // pair 1..6, spell or 0xFF
  std::optional<int> Bonus;       // 0xFF: none
  std::string BonusTyped;
};
int RunSet(Streams& io, const std::string& image, const SetRequest& request, const SaveOptions& save);

int RunShift(Streams& io, const std::string& image, bool force, const SaveOptions& save);

struct PictureRequest {
  std::optional<std::string> Glyphs;    // the glyph sheet, three schemes
  std::optional<std::string> Palettes;  // the palette sheet
  std::optional<std::string> Names;     // every esper, spell and bonus name
  int Scale = 1;
};
int RunPicture(Streams& io, const std::string& image, const PictureRequest& request);

// A BPS (or IPS) patch from original to edited, both without a copier header.
int RunPatch(Streams& io, const std::string& original, const std::string& edited, const std::string& patch, bool ips);

// Reports the internal checksum; with fix, stores the right one in place or in a copy at output.
int RunChecksum(Streams& io, const std::string& image, bool fix, const std::optional<std::string>& output);

enum class DiffFormat { Text, Json };
int RunDiff(Streams& io, const std::string& older, const std::string& newer, DiffFormat format);

}  // namespace Cli
