// The program's resources, icon and name on the web: the resource script is embedded as a
// file (/resources/script.rc with its header), the page shows the icon itself.

#include <fstream>
#include <iterator>

#include "framework/Backend.h"
#include "framework/model/ModelBackend.h"

namespace ModelBackend {

bool ResourceTexts(std::string* script, std::string* header) {
  auto read = [](const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  };
  *script = read("/resources/script.rc");
  *header = read("/resources/script.h");
  return true;
}

}  // namespace ModelBackend

namespace Backend {

// The page's own icon stands for it; the dialog only needs a handle that is not null.
HICON LoadAppIcon(UINT id) { return reinterpret_cast<HICON>(static_cast<std::uintptr_t>(0x10000 + id)); }

CString ApplicationName() { return CString(WindowModel::Resources().ProductName); }

}  // namespace Backend
