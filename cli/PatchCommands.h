#pragma once
// What patch adds besides its command (RunPatch, in Commands.h): --patch on the commands that
// write an image.

#include <string>

#include "cli/CommandSupport.h"

namespace Cli {

// Opens the image for reading, runs edit and PrepareSave, and writes the patch from the file
// on disk to Buffer as the save would write it, to save.Patch. The image is not written.
int EditAndPatch(Streams& io, const std::string& image, const SaveOptions& save, const Edit& edit);

}  // namespace Cli
