#pragma once
// A state folder on disk (posix/, win32/): each file written beside under a name of its own
// and renamed over, through CNewFile. The platform primitives it needs are below, one
// implementation each in posix/Folders.cpp and win32/Folders.cpp.

#include "framework/StateFolder.h"

class FolderStateFolder : public StateFolder {
 public:
  explicit FolderStateFolder(CString folder) : Folder(std::move(folder)) {}
  CString Location() const override { return Folder; }
  std::optional<std::string> Read(const CString& name) override;
  bool Write(const CString& name, std::string_view contents, CString& why) override;
  void Remove(const CString& name) override;
  std::optional<CString> SetAside(const CString& name) override;

 private:
  CString PathOf(const CString& name) const;
  CString Folder;
};

namespace Folders {
// The folder named and those above it, made where missing.
bool MakeFolders(const CString& folder, CString& why);
void RemoveFile(const CString& path);
// Renames from to to, unless something is already called to (taken is then set).
bool RenameUnlessTaken(const CString& from, const CString& to, bool& taken);
char Separator();
}  // namespace Folders
