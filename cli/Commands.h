#pragma once
// The subcommands, once their arguments are parsed. Each prints what it has to say to Out,
// its one message on failure to Err, and returns the exit status (ExitCode).

#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Cli {

enum ExitCode { ExitSuccess = 0, ExitFailed = 1, ExitUsage = 2 };

struct Streams {
  std::istream& In;
  std::ostream& Out;
  std::ostream& Err;
};

int RunInfo(Streams& io, const std::string& image);

enum class DumpFormat { Text, Json, Csv };
int RunDump(Streams& io, const std::string& image, DumpFormat format);

// json "-" is the standard output (export) or input (import).
int RunExport(Streams& io, const std::string& image, const std::string& json);
int RunImport(Streams& io, const std::string& image, const std::string& json, const std::optional<std::string>& output);

// One edit of one esper. Values are checked here, against the image, as import checks them.
struct SetRequest {
  int Esper = 0;
  std::vector<std::pair<int, int>> Rates;   // (pair 1..6, rate)
  std::vector<std::pair<int, int>> Spells;  // (pair 1..6, spell or 0xFF)
  std::optional<int> Bonus;                 // 0xFF: none
};
int RunSet(Streams& io, const std::string& image, const SetRequest& request, const std::optional<std::string>& output);

int RunShift(Streams& io, const std::string& image, bool force, const std::optional<std::string>& output);

struct PictureRequest {
  std::optional<std::string> Glyphs;    // the glyph sheet, three schemes
  std::optional<std::string> Palettes;  // the palette sheet
  std::optional<std::string> Names;     // every esper, spell and bonus name
  int Scale = 1;
};
int RunPicture(Streams& io, const std::string& image, const PictureRequest& request);

}  // namespace Cli
