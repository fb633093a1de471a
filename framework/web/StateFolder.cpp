// The page's state folder: the browser's local storage for this site, through the page
// (library.js). It outlives the tab, a crash and a closed browser; each write replaces an
// entry whole, so a reader never finds half of one.

#include "framework/StateFolder.h"

#include <cstdlib>
#include <string>

#include "framework/web/PageCalls.h"

namespace {

class PageStateFolder : public StateFolder {
 public:
  CString Location() const override { return CString("the browser's storage for this page"); }

  std::optional<std::string> Read(const CString& name) override {
    char* contents = page_state_read(name);
    if (!contents) return std::nullopt;
    std::string text(contents);
    std::free(contents);
    return text;
  }

  bool Write(const CString& name, std::string_view contents, CString& why) override {
    if (page_state_write(name, std::string(contents).c_str())) return true;
    why = "the browser's storage is full or not allowed to this page";
    return false;
  }

  void Remove(const CString& name) override { page_state_remove(name); }

  std::optional<CString> SetAside(const CString& name) override {
    const std::optional<std::string> contents = Read(name);
    if (!contents) return std::nullopt;
    for (int n = 1; n < 1000; ++n) {
      const CString aside = CString(name.Str() + "." + std::to_string(n));
      if (char* taken = page_state_read(aside)) {
        std::free(taken);
        continue;
      }
      if (!page_state_write(aside, contents->c_str())) return std::nullopt;
      page_state_remove(name);
      return aside;
    }
    return std::nullopt;
  }
};

}  // namespace

StateFolder& UserStateFolder() {
  static PageStateFolder folder;
  return folder;
}
