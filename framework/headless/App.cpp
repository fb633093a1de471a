// The program's icon and its name, and where it keeps its state.

#include <errno.h>  // program_invocation_short_name

#include <cstdint>

#include "framework/Backend.h"
#include "framework/headless/MemoryStateFolder.h"

namespace Backend {

HICON LoadAppIcon(UINT id) { return reinterpret_cast<HICON>(static_cast<std::uintptr_t>(0x10000 + id)); }

CString ApplicationName() { return CString(program_invocation_short_name); }

}  // namespace Backend

// The in-memory backend keeps its state in memory (tests), never in the user's folder.
StateFolder& UserStateFolder() { return Headless::StateFiles(); }
