#include "cli/CommandSupport.h"

#include <ostream>

#include "cli/PatchCommands.h"
#include "cli/Printable.h"
#include "cli/SnesChecksum.h"
#include "rom/Transliteration.h"

namespace Cli {

int Fail(Streams& io, const std::string& message) {
  io.Err << "tavero-cli: " << message << "\n";
  return ExitFailed;
}

std::string Quoted(const std::string& gameText) {
  std::string quoted(1, '"');
  quoted.append(GameText::Transliterate(gameText)).push_back('"');
  return quoted;
}

std::string PatchPresenceText(const PatchPresence& patch) {
  const std::string runs = std::to_string(patch.RunsPresent) + " of " + std::to_string(patch.RunCount) + " runs";
  if (patch.Full()) return "present (" + runs + ")";
  if (patch.None()) return "absent (" + runs + ")";
  return "partly present (" + runs + ", " + std::to_string(patch.BytesPresent) + " of " +
         std::to_string(patch.ByteCount) + " bytes)";
}

std::string SixSlotOnly(const std::string& image, const ImageSession& session, const char* command) {
  if (session.Layout == EsperLayout::FiveSlot)
    return Printable(image) + " holds five-slot esper records (probes " + Hex(session.ProbeA, 2) + " " +
           Hex(session.ProbeB, 2) + "); " + command +
           " works on six-slot images: convert it with \"tavero-cli shift\" first.";
  return Printable(image) + " holds " + std::to_string(session.ProbedRecordSize) +
         "-byte esper records, neither five- nor six-slot; " + command + " works on six-slot images only.";
}

bool PrepareSave(ImageSession& session, const SaveOptions& save, const std::string& image, std::string* report,
                 std::string* error) {
  CRomImage& rom = session.Rom;
  rom.StoreRecords();
  if (!save.FixChecksum) return true;
  const ChecksumCheck before = InspectChecksum(rom);
  if (!FixChecksum(rom, image, error)) {
    *error += "; leave out --fix-checksum to write without it";
    return false;
  }
  *report += "checksum " + Hex(before.Stored, 4) +
             (before.Result == ChecksumCheck::Verdict::Good ? std::string(", still good")
                                                            : std::string(" -> ") + Hex(before.Computed, 4)) +
             "\n";
  return true;
}

int EditAndSave(Streams& io, const std::string& image, const SaveOptions& save, const Edit& edit, Access access) {
  if (save.Patch) return EditAndPatch(io, image, save, edit);
  const std::optional<std::string>& output = save.Output;
  std::string error, report, warning;
  // With --output the work is done on a copy beside it, which replaces it only once saved.
  std::optional<PendingFile> pending;
  if (output) pending.emplace(*output);
  bool done = !output || CopyForOutput(image, *output, *pending, &error);
  ImageSession session;
  if (pending) session.ShownPath = image;  // what is loaded is the input, copied
  done = done && session.Load(pending ? pending->Path() : image, &error, access);
  done = done && edit(session, &report, &error);
  done = done && (!save.FixChecksum || PrepareSave(session, save, image, &report, &error));
  if (pending) session.ShownPath = *output;
  done = done && session.Save(&error, &warning);
  if (done && pending && !pending->Commit()) {
    error = pending->Failure();
    done = false;
  }
  if (!done) return Fail(io, error);
  if (!warning.empty()) io.Err << "tavero-cli: warning: " << warning << "\n";
  io.Out << report << "saved " << Printable(output.value_or(image)) << "\n";
  return ExitSuccess;
}

}  // namespace Cli
