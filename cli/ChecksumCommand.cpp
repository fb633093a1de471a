// checksum, and info's lines on the file's sums.

#include "cli/ChecksumCommand.h"

#include <ostream>

#include "cli/CommandSupport.h"
#include "cli/ImageFile.h"
#include "cli/Printable.h"
#include "cli/SnesChecksum.h"

namespace Cli {

int RunChecksum(Streams& io, const std::string& image, bool fix, const std::optional<std::string>& output) {
  if (output && SameFile(*output, image))
    return Fail(io,
                "--output " + Printable(*output) + " is the input image itself; leave --output out to fix it in place");
  std::string error;
  if (output && !CheckImageOutput(*output, &error)) return Fail(io, error);
  CRomImage rom;
  if (!LoadFileBytes(image, rom, &error)) return Fail(io, error);
  const ChecksumCheck check = InspectChecksum(rom);
  if (!check.Checked()) return Fail(io, Printable(image) + ": " + ChecksumText(check) + "; nothing was written");
  io.Out << "checksum: " << ChecksumText(check) << "\n";
  // A status of its own, so that a script can tell a stale sum from a failure.
  if (!fix) return check.Result == ChecksumCheck::Verdict::Stale ? ExitChecksumStale : ExitSuccess;
  if (check.Result == ChecksumCheck::Verdict::Good && !output) {
    io.Out << "nothing to fix; " << Printable(image) << " was left as it was\n";
    return ExitSuccess;
  }
  if (!FixChecksum(rom, image, &error)) return Fail(io, error);
  // In place, into the file itself as the editor saves (links, owner and mode stay); only a
  // copy is a new file. A read-only image is refused with the editor's wording.
  if (!output && !rom.WriteImage()) return Fail(io, rom.FailureMessage("save", CString(Printable(image))).Str());
  if (output && !WriteWholeFile(*output, FileBytes(rom), &error, CopyPermissions(image))) return Fail(io, error);
  if (check.Result == ChecksumCheck::Verdict::Stale)
    io.Out << "fixed:    " << ChecksumPair(check.Computed, InternalHeader::ComplementOf(check.Computed)) << "\n";
  io.Out << "saved " << Printable(output.value_or(image)) << "\n";
  return ExitSuccess;
}

bool FileSumLines(const std::string& image, std::string* lines, std::string* error) {
  CRomImage rom;
  if (!LoadFileBytes(image, rom, error)) return false;
  *lines = "crc-32:         " + Hex(Crc32(FileBytes(rom)), 8) + " (file), " + Hex(Crc32(RomBytes(rom)), 8) +
           " (without header)\n" + "checksum:       " + ChecksumText(InspectChecksum(rom)) + "\n";
  return true;
}

}  // namespace Cli
