#pragma once
// The user's state folder: small files the editor keeps for itself between runs (the recovery
// of unsaved edits), never the user's documents. Linux: $XDG_STATE_HOME/tavero, by default
// ~/.local/state/tavero; Windows: %LOCALAPPDATA%\TAVERO; the page: the browser's storage; the
// in-memory backend: files in memory (headless/MemoryStateFolder.h).

#include <optional>
#include <string>
#include <string_view>

#include "framework/CString.h"

class StateFolder {
 public:
  virtual ~StateFolder() = default;
  // Where the files are, as the user would look for them; empty when there is no such place.
  virtual CString Location() const = 0;
  // The file's contents; nothing when it is missing or cannot be read.
  virtual std::optional<std::string> Read(const CString& name) = 0;
  // Creates or replaces the file in one step (the folder made as needed): whoever reads it,
  // whenever the program stops, finds the old contents or the new, never half of them.
  virtual bool Write(const CString& name, std::string_view contents, CString& why) = 0;
  virtual void Remove(const CString& name) = 0;
  // Renames the file to NAME.N, N the first number free, so that it is kept but no longer
  // found under its name. The new name, or nothing when it could not be renamed.
  virtual std::optional<CString> SetAside(const CString& name) = 0;
};

// The state folder of the user running the program (one per backend).
StateFolder& UserStateFolder();
