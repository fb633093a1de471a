#include "framework/FolderStateFolder.h"

#include <string>

#include "framework/CFile.h"
#include "framework/NewFile.h"

CString FolderStateFolder::PathOf(const CString& name) const {
  return Folder + CString(std::string(1, Folders::Separator())) + name;
}

std::optional<std::string> FolderStateFolder::Read(const CString& name) {
  if (Folder.IsEmpty()) return std::nullopt;
  CFile file;
  std::uint64_t length = 0;
  // A state file is small; anything far larger is not one of ours.
  if (!file.Open(PathOf(name), CFile::modeRead) || !file.GetLength(length) || length > (1u << 20)) return std::nullopt;
  std::string contents(static_cast<std::size_t>(length), '\0');
  if (file.Read(contents.data(), contents.size()) != contents.size()) return std::nullopt;
  return contents;
}

bool FolderStateFolder::Write(const CString& name, std::string_view contents, CString& why) {
  if (Folder.IsEmpty()) {
    why = "there is no folder for the program's state (no home folder)";
    return false;
  }
  if (!Folders::MakeFolders(Folder, why)) return false;
  // Beside the file, under a name no other writer holds: two editors on one image each write
  // their own before the rename.
  CNewFile file;
  for (int attempt = 0;; ++attempt) {
    if (file.Create(PathOf(CString(name.Str() + ".new" + std::to_string(attempt))))) break;
    if (!file.NameTaken() || attempt == 99) {
      why = file.ErrorText();
      return false;
    }
  }
  if (!file.Write(contents.data(), contents.size()) || !file.Replace(PathOf(name))) {
    why = file.ErrorText();
    return file.InPlace();
  }
  return true;
}

void FolderStateFolder::Remove(const CString& name) {
  if (!Folder.IsEmpty()) Folders::RemoveFile(PathOf(name));
}

std::optional<CString> FolderStateFolder::SetAside(const CString& name) {
  if (Folder.IsEmpty()) return std::nullopt;
  for (int n = 1; n < 1000; ++n) {
    const CString aside = CString(name.Str() + "." + std::to_string(n));
    bool taken = false;
    if (Folders::RenameUnlessTaken(PathOf(name), PathOf(aside), taken)) return aside;
    if (!taken) break;
  }
  return std::nullopt;
}
