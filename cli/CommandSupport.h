#pragma once
// Pieces the commands share: wording, and the one way every command writes an image.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "cli/Commands.h"
#include "cli/HexCrc.h"
#include "cli/ImageSession.h"
#include "cli/PendingFile.h"

namespace Cli {

// Prints "tavero-cli: message" to Err and returns ExitFailed.
int Fail(Streams& io, const std::string& message);

// A name for people: transliterated and quoted, as names end in blanks as often as not.
std::string Quoted(const std::string& gameText);

// How much of the six-slot code patch an image holds: "present (13 of 13 runs)", "absent
// (0 of 13 runs)" or "partly present (R of 13 runs, B of 29 bytes)".
std::string PatchPresenceText(const PatchPresence& patch);

// Why a command that edits records refuses an image that is not six-slot.
std::string SixSlotOnly(const std::string& image, const ImageSession& session, const char* command);

using Edit = std::function<bool(ImageSession&, std::string* report, std::string* error)>;

// Opens the image (or first copies it to save.Output and opens the copy) for access, runs
// edit, and saves (ImageSession::Save); with save.Patch, EditAndPatch (PatchCommands.h)
// instead. When anything fails, prints the one message and, if the copy was made here,
// removes it. edit returns false with *error; on success *report says what it did.
int EditAndSave(Streams& io, const std::string& image, const SaveOptions& save, const Edit& edit,
                Access access = Access::Write);

// After the edits: Buffer as SaveFile writes it (the records put in, as its first step
// does), with the internal checksum fixed when save asks. Returns false with *error.
bool PrepareSave(ImageSession& session, const SaveOptions& save, const std::string& image, std::string* report,
                 std::string* error);

}  // namespace Cli
