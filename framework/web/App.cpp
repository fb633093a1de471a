// The program's resources, icon and name on the web: the resource script is embedded as a
// file (/resources/script.rc with its header), the page shows the icon itself.

#include <cstdio>

#include "framework/Backend.h"
#include "framework/web/WebApp.h"

namespace WebApp {

const ResourceScript& Resources() {
  static const ResourceScript* script = [] {
    auto* read = new ResourceScript;  // for the whole run: dialogs are made from it until the end
    std::string error;
    if (!read->ReadFiles("/resources/script.rc", "/resources/script.h", &error))
      std::fprintf(stderr, "the program's resources cannot be read: %s\n", error.c_str());
    return read;
  }();
  return *script;
}

}  // namespace WebApp

namespace Backend {

// The page's own icon stands for it; the dialog only needs a handle that is not null.
HICON LoadAppIcon(UINT id) { return reinterpret_cast<HICON>(static_cast<std::uintptr_t>(0x10000 + id)); }

CString ApplicationName() { return CString(WebApp::Resources().ProductName); }

}  // namespace Backend
