#pragma once
// The Win32 boundary speaks UTF-16; paths and messages are UTF-8 inside the program.

#include <string>
#include <string_view>

#include "framework/CString.h"

std::wstring WidenUtf8(std::string_view utf8);
CString NarrowToUtf8(std::wstring_view wide);

// GameText bytes travel through the W controls one byte to one unit (U+0001..U+00FF), so no
// code page can change them. A unit above U+00FF (never written by the program) reads as '?'.
std::wstring BytesToUnits(std::string_view bytes);
CString UnitsToBytes(std::wstring_view units);

// The system's text for a GetLastError() code, in UTF-8, without the trailing line break.
CString SystemErrorText(unsigned long code);
