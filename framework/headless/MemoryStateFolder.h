#pragma once
// The state folder of the in-memory backend: files in a MemoryFileSystem of their own under
// Folder, so that tests read and plant them and never touch the user's real state folder.

#include "framework/MemoryFileSystem.h"
#include "framework/StateFolder.h"

namespace Headless {

class MemoryStateFolder : public StateFolder {
 public:
  static constexpr const char* Folder = "/state/tavero/";

  CString Location() const override { return CString(Folder); }
  std::optional<std::string> Read(const CString& name) override;
  bool Write(const CString& name, std::string_view contents, CString& why) override;
  void Remove(const CString& name) override { Files.Remove(Folder + name.Str()); }
  std::optional<CString> SetAside(const CString& name) override;

  void Clear() { Files = {}; }

  MemoryFileSystem Files;
};

// The one the in-memory backend's UserStateFolder() returns.
MemoryStateFolder& StateFiles();

}  // namespace Headless
