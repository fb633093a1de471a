// The user's state folder on Linux: $XDG_STATE_HOME/tavero, or ~/.local/state/tavero when it
// is unset (the XDG base directory rules).

#include <cstdlib>
#include <string>

#include "framework/FolderStateFolder.h"

namespace {
// Only an absolute path counts, as the XDG rules have it; a relative one is ignored.
std::string AbsoluteVariable(const char* name) {
  const char* value = std::getenv(name);
  return value && value[0] == '/' ? value : "";
}
}  // namespace

StateFolder& UserStateFolder() {
  static FolderStateFolder folder([] {
    std::string state = AbsoluteVariable("XDG_STATE_HOME");
    if (state.empty()) {
      const std::string home = AbsoluteVariable("HOME");
      if (home.empty()) return CString();
      state = home + "/.local/state";
    }
    return CString(state + "/tavero");
  }());
  return folder;
}
