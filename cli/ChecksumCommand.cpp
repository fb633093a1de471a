// checksum, and info's lines on the file's sums.

#include "cli/ChecksumCommand.h"

#include <ostream>

#include "cli/CommandSupport.h"
#include "cli/ImageFile.h"
#include "cli/Printable.h"
#include "cli/SnesChecksum.h"

namespace Cli {

int RunChecksum(Streams& io, const ChecksumOptions& options) {
  const std::string& image = options.Image;
  const std::optional<std::string>& output = options.Save.Output;
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
  if (!options.Fix) return check.Result == ChecksumCheck::Verdict::Stale ? ExitChecksumStale : ExitSuccess;
  if (check.Result == ChecksumCheck::Verdict::Good && !output) {
    io.Out << "nothing to fix; " << Printable(image) << " was left as it was\n";
    return ExitSuccess;
  }
  // An edit of the bytes like any other: in place into the file itself as the editor saves
  // (links, owner and mode stay), or in a copy; the records are not written.
  const auto fix = [&](ImageSession& session, std::string* report, std::string* failure) {
    if (!FixChecksum(session.Rom, image, failure)) return false;
    if (check.Result == ChecksumCheck::Verdict::Stale)
      *report = "fixed:    " + ChecksumPair(check.Computed, InternalHeader::ComplementOf(check.Computed)) + "\n";
    return true;
  };
  return EditAndSave(io, image, options.Save, fix, Access::WriteBytes);
}

bool FileSumLines(const std::string& image, std::string* lines, std::string* error) {
  CRomImage rom;
  if (!LoadFileBytes(image, rom, error)) return false;
  *lines = "crc-32:         " + Hex(Crc32(FileBytes(rom)), 8) + " (file), " + Hex(Crc32(RomBytes(rom)), 8) +
           " (without header)\n" + "checksum:       " + ChecksumText(InspectChecksum(rom)) + "\n";
  return true;
}

}  // namespace Cli
