#pragma once
// Pieces the commands share: wording, and the one way every command writes an image.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "cli/Commands.h"
#include "cli/ImageSession.h"

namespace Cli {

// Prints "tavero-cli: message" to Err and returns ExitFailed.
int Fail(Streams& io, const std::string& message);

std::string Hex(std::uint64_t value, int digits = 0);  // "0x1F", zero-padded to digits

// A name for people: transliterated and quoted, as names end in blanks as often as not.
std::string Quoted(const std::string& gameText);

// Why a command that edits records refuses an image that is not six-slot.
std::string SixSlotOnly(const std::string& image, const ImageSession& session, const char* command);

// Opens the image (or first copies it to output and opens the copy), runs edit, and saves
// with SaveFile. When anything fails, prints the one message and, if the copy was made
// here, removes it. edit returns false with *error; on success *report says what it did.
int EditAndSave(Streams& io, const std::string& image, const std::optional<std::string>& output,
                const std::function<bool(ImageSession&, std::string* report, std::string* error)>& edit);

}  // namespace Cli
