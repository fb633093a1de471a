#pragma once
// The Windows vocabulary the program is written in (BOOL, UINT, IDOK, OFN_ flags...).
// On Windows it is the system's own; elsewhere the same names with the same values.

#if defined(_WIN32)
#include "framework/win32/WindowsApi.h"
#else
#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using UINT = unsigned int;
using DWORD = std::uint32_t;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
#endif
