#pragma once
// The one place that brings in the Windows headers.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// The system's headers below need windows.h first.
#include <commdlg.h>
