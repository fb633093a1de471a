#pragma once
// A file as the editor's questions name it: its name without the folder.

#include <string>

#include "framework/CString.h"

inline CString FileNameOf(const CString& path) {
  const std::string& text = path.Str();
  const std::size_t folder = text.find_last_of("/\\");
  return CString(folder == std::string::npos ? text : text.substr(folder + 1));
}
