#pragma once
// The subcommands, once their arguments are parsed. Each prints what it has to say to Out,
// its one message on failure to Err, and returns the exit status (ExitCode).

#include <array>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "rom/EsperFields.h"

namespace Cli {

// ExitChecksumStale: checksum found the stored sum stale and was not asked to fix it.
enum ExitCode { ExitSuccess = 0, ExitFailed = 1, ExitUsage = 2, ExitChecksumStale = 3 };

struct Streams {
  std::istream& In;
  std::ostream& Out;
  std::ostream& Err;
};

// Each command's options, as the command line gives them, and the command that runs on them.

struct InfoOptions {
  std::string Image;
};
int RunInfo(Streams& io, const InfoOptions& options);

struct DumpOptions {
  std::string Image;
  std::string Format = "text";  // text, json or csv
};
int RunDump(Streams& io, const DumpOptions& options);

// How a command that changes an image delivers the result: in place, to a copy at Output,
// or as a patch at Patch from the file on disk to the bytes the save would write (the image
// is then not written). FixChecksum stores the internal checksum of what is written.
struct SaveOptions {
  std::optional<std::string> Output;
  std::optional<std::string> Patch;
  bool Ips = false;  // the patch as IPS rather than BPS
  bool FixChecksum = false;
};

// Json "-" is the standard output (export) or input (import).
struct ExportOptions {
  std::string Image, Json;
};
int RunExport(Streams& io, const ExportOptions& options);

struct ImportOptions {
  std::string Image, Json;
  SaveOptions Save;
};
int RunImport(Streams& io, const ImportOptions& options);

// "--rate K=R", "--spell K=S" or "--bonus B": the field, its pair (0 for a field of the
// record), the value (0xFF for none, INT_MAX for a number too large) and the argument as
// typed, which messages echo.
struct FieldEdit {
  const EsperField* Field = nullptr;
  int Pair = 0;
  int Value = 0;
  std::string Typed;
};

// One edit of one esper, in the order of the fields and then of the command line. Values are
// checked by the command, against the image, as import checks them.
struct SetRequest {
  int Esper = 0;
  std::string EsperTyped;
  std::vector<FieldEdit> Edits;
};
struct SetOptions {
  std::string Image;
  std::string Esper;
  std::array<std::vector<std::string>, EsperFields.size()> Given;  // each field's options, as typed
  SetRequest Request;                                              // made from Esper and Given by set's check
  SaveOptions Save;
};
int RunSet(Streams& io, const SetOptions& options);

struct ShiftOptions {
  std::string Image;
  bool Force = false;
  SaveOptions Save;
};
int RunShift(Streams& io, const ShiftOptions& options);

struct PictureOptions {
  std::string Image;
  std::optional<std::string> Glyphs;    // the glyph sheet, three schemes
  std::optional<std::string> Palettes;  // the palette sheet
  std::optional<std::string> Names;     // every esper, spell and bonus name
  int Scale = 1;
};
int RunPicture(Streams& io, const PictureOptions& options);

// A BPS (or IPS) patch from Original to Edited, both without a copier header.
struct PatchOptions {
  std::string Original, Edited, Out;
  bool Ips = false;
};
int RunPatch(Streams& io, const PatchOptions& options);

// Reports the internal checksum; with Fix, stores the right one in place or in a copy at
// Save.Output, through the same edit and save as the other commands.
struct ChecksumOptions {
  std::string Image;
  bool Fix = false;
  SaveOptions Save;  // only its Output
};
int RunChecksum(Streams& io, const ChecksumOptions& options);

struct DiffOptions {
  std::string Older, Newer;
  std::string Format = "text";  // text or json
};
int RunDiff(Streams& io, const DiffOptions& options);

}  // namespace Cli
