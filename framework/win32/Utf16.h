#pragma once
// The Win32 boundary speaks UTF-16; paths and messages are UTF-8 inside the program.

#include <string>
#include <string_view>

#include "framework/CString.h"

std::wstring WidenUtf8(std::string_view utf8);
CString NarrowToUtf8(std::wstring_view wide);

// The system's text for a GetLastError() code, in UTF-8, without the trailing line break.
CString SystemErrorText(unsigned long code);
