// Folders on Linux, for a state folder on disk (FolderStateFolder.h).

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "framework/FolderStateFolder.h"

namespace Folders {

bool MakeFolders(const CString& folder, CString& why) {
  const std::string& path = folder.Str();
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    // Private: the recovery names the images a user works on. Only the last folder's
    // failure counts; one above that cannot be made shows there.
    const bool made = ::mkdir(part.c_str(), 0700) == 0 || errno == EEXIST;
    if (slash != std::string::npos) continue;
    if (!made) why = CString("cannot make the folder " + part + ": " + std::strerror(errno));
    return made;
  }
}

void RemoveFile(const CString& path) { ::unlink(path); }

bool RenameUnlessTaken(const CString& from, const CString& to, bool& taken) {
  // A second name first, which fails on any entry already called to; then the first goes.
  if (::link(from, to) != 0) {
    taken = errno == EEXIST;
    return false;
  }
  ::unlink(from);
  return true;
}

char Separator() { return '/'; }

}  // namespace Folders
