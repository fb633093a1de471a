// patch, and --patch on the commands that write: patches instead of images, for sharing an
// edit without the image it was made on.

#include "cli/PatchCommands.h"

#include <algorithm>
#include <ostream>
#include <span>
#include <vector>

#include "cli/ImageFile.h"
#include "cli/Printable.h"
#include "formats/Bps.h"
#include "formats/ByteRuns.h"
#include "formats/Ips.h"
#include "rom/SavePatch.h"

namespace Cli {

using Formats::ByteRun;
using Formats::DifferingRuns;

namespace {

using Bytes = std::span<const std::uint8_t>;

// Writes the patch from source to target at path; *summary says what it holds.
bool WritePatch(Bytes source, Bytes target, const std::string& path, bool ips, std::string* summary,
                std::string* error) {
  std::string patch;
  if (ips) {
    if (!Formats::MakeIps(source, target, &patch, error)) return false;
  } else {
    patch = Formats::MakeBps(source, target);
  }
  if (!WriteWholeFile(path, patch, error)) return false;
  const std::vector<Formats::ByteRun> runs = Formats::DifferingRuns(source, target);
  std::uint64_t changed = 0;
  for (const Formats::ByteRun& run : runs) changed += run.Length;
  *summary = std::string(ips ? "IPS" : "BPS") + " patch of " + std::to_string(patch.size()) + " bytes for " +
             std::to_string(changed) + " changed bytes in " + std::to_string(runs.size()) +
             (runs.size() == 1 ? " run" : " runs") + " (image " + Hex(Crc32(source), 8) + " -> " +
             Hex(Crc32(target), 8) + ")";
  return true;
}

bool SameBytes(Bytes a, Bytes b) { return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin()); }

}  // namespace

int EditAndPatch(Streams& io, const std::string& image, const SaveOptions& save, const Edit& edit) {
  const std::string& out = *save.Patch;
  if (SameFile(out, image))
    return Fail(io, "--patch " + Printable(out) + " is the image itself; the patch goes to a file of its own");
  std::string error, report;
  CRomImage disk;  // the file as it is, before the load patches the code
  if (!LoadFileBytes(image, disk, &error)) return Fail(io, error);
  if (std::string problem = HeaderProblem(image, disk); !problem.empty()) return Fail(io, problem);
  ImageSession session;
  if (!session.Load(image, &error, Access::Read) || !edit(session, &report, &error) ||
      !PrepareSave(session, save, image, &report, &error))
    return Fail(io, error);
  const SavePatch sides = SavePatch::Of(FileBytes(disk), session.Rom);
  switch (sides.Refused) {
    case SavePatch::Problem::None: break;
    case SavePatch::Problem::NotTheLoadedFile:
      return Fail(io, Printable(image) + " changed while it was read; no patch written");
    case SavePatch::Problem::HeaderNotLeftOut: return Fail(io, HeaderProblem(image, session.Rom));
    case SavePatch::Problem::NoChange:
      return Fail(io, "the edit changes no byte of " + Printable(image) + "; no patch written");
  }
  std::string summary;
  if (!WritePatch(sides.Source, sides.Target, out, save.Ips, &summary, &error)) return Fail(io, error);
  io.Out << report << "wrote " << Printable(out) << ": " << summary << "; " << Printable(image)
         << " was left as it was\n";
  return ExitSuccess;
}

int RunPatch(Streams& io, const PatchOptions& options) {
  const std::string &original = options.Original, &edited = options.Edited, &patch = options.Out;
  const bool ips = options.Ips;
  for (const std::string* input : {&original, &edited})
    if (SameFile(patch, *input))
      return Fail(io, "the patch " + Printable(patch) + " would replace " + Printable(*input) +
                          ", an input; name another file");
  CRomImage from, to;
  std::string error;
  if (!LoadFileBytes(original, from, &error) || !LoadFileBytes(edited, to, &error)) return Fail(io, error);
  std::string problem = HeaderProblem(original, from);
  if (problem.empty()) problem = HeaderProblem(edited, to);
  if (!problem.empty()) return Fail(io, problem);
  const Bytes source = RomBytes(from), target = RomBytes(to);
  if (source.size() != target.size())
    return Fail(io, Printable(original) + " and " + Printable(edited) + " differ in length (" +
                        std::to_string(source.size()) + " and " + std::to_string(target.size()) +
                        " bytes without a copier header); a patch relates two images of one length");
  if (SameBytes(source, target))
    return Fail(io, Printable(original) + " and " + Printable(edited) + " hold the same bytes" +
                        (from.HeaderSize != to.HeaderSize ? " (one with a copier header)" : "") +
                        "; there is nothing to patch");
  std::string summary;
  if (!WritePatch(source, target, patch, ips, &summary, &error)) return Fail(io, error);
  io.Out << "wrote " << Printable(patch) << ": " << summary << "\n";
  return ExitSuccess;
}

}  // namespace Cli
