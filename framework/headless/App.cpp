// The program's icon and its name.

#include <errno.h>  // program_invocation_short_name

#include <cstdint>

#include "framework/Backend.h"

namespace Backend {

HICON LoadAppIcon(UINT id) { return reinterpret_cast<HICON>(static_cast<std::uintptr_t>(0x10000 + id)); }

CString ApplicationName() { return CString(program_invocation_short_name); }

}  // namespace Backend
