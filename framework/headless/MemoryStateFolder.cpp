#include "framework/headless/MemoryStateFolder.h"

#include <string>

namespace Headless {

std::optional<std::string> MemoryStateFolder::Read(const CString& name) {
  const std::string path = Folder + name.Str();
  if (!Files.Exists(path)) return std::nullopt;
  const MemoryFileSystem::Bytes& bytes = Files.Contents(path);
  return std::string(bytes.begin(), bytes.end());
}

bool MemoryStateFolder::Write(const CString& name, std::string_view contents, CString&) {
  Files.Contents(Folder + name.Str()).assign(contents.begin(), contents.end());
  return true;
}

std::optional<CString> MemoryStateFolder::SetAside(const CString& name) {
  const std::string path = Folder + name.Str();
  if (!Files.Exists(path)) return std::nullopt;
  for (int n = 1;; ++n) {
    const std::string aside = name.Str() + "." + std::to_string(n);
    if (Files.Exists(Folder + aside)) continue;
    Files.Contents(Folder + aside) = Files.Contents(path);
    Files.Remove(path);
    return CString(aside);
  }
}

MemoryStateFolder& StateFiles() {
  static MemoryStateFolder folder;
  return folder;
}

}  // namespace Headless
