#pragma once
// An interrupted run leaves nothing behind: the files tavero-cli writes beside their
// destination (PendingFile) are noted here while they exist, and removed when the program
// is stopped (SIGINT, SIGTERM or SIGHUP; on Windows Ctrl+C, Ctrl+Break or the console
// closing), before it ends as the signal would have ended it. One implementation per
// platform (posix/, win32/).

#include <string>

namespace Cli {

// Installs the handlers; the program's entry point calls it once, before any command runs.
void RemoveTemporariesWhenStopped();

// Notes the temporary at path until ForgetTemporary(slot). Returns the slot, or -1 when the
// path cannot be noted (too long, or too many at once): it is then only removed as usual.
int NoteTemporary(const std::string& path);
void ForgetTemporary(int slot);

}  // namespace Cli
