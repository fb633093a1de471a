#include "cli/CommandSupport.h"

#include <cstdio>
#include <ostream>
#include <system_error>

#include "cli/Transliteration.h"

namespace Cli {

std::string Hex(std::uint64_t value, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
  return text;
}

std::string Quoted(const std::string& gameText) {
  std::string quoted(1, '"');
  quoted.append(TransliterateGameText(gameText)).push_back('"');
  return quoted;
}

std::string SixSlotOnly(const std::string& image, const ImageSession& session, const char* command) {
  if (session.Layout == EsperLayout::FiveSlot)
    return image + " holds five-slot esper records (probes " + Hex(session.ProbeA, 2) + " " + Hex(session.ProbeB, 2) +
           "); " + command + " works on six-slot images: convert it with \"tavero-cli shift\" first.";
  return image + " holds " + std::to_string(session.ProbedRecordSize) + "-byte esper records, neither five- nor six-slot; " +
         command + " works on six-slot images only.";
}

int EditAndSave(Streams& io, const std::string& image, const std::optional<std::string>& output,
                const std::function<bool(ImageSession&, std::string* report, std::string* error)>& edit) {
  std::string error, report;
  bool created = false;
  bool done = !output || CopyForOutput(image, *output, &created, &error);
  ImageSession session;
  done = done && session.Load(output.value_or(image), &error, /*forWriting=*/true);
  done = done && edit(session, &report, &error);
  done = done && session.Save(&error);
  if (!done) {
    if (created) {
      std::error_code ignored;
      std::filesystem::remove(FsPath(*output), ignored);
    }
    return Fail(io, error);
  }
  io.Out << report << "saved " << output.value_or(image) << "\n";
  return ExitSuccess;
}

}  // namespace Cli
