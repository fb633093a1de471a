#pragma once
// Inside the Win32 backend: how windows with an attached object get their messages.
// A routed window's procedure is RoutedProc; its original procedure is kept per HWND and is
// what Backend::DefaultProc calls.

#include "framework/win32/WindowsApi.h"

namespace Win32Routing {

LRESULT CALLBACK RoutedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The window's own handling of a message: its original procedure, or DefWindowProcW.
LRESULT CallOriginal(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Detaches the objects of routed windows that no longer exist (after a dialog has gone).
void DetachDeadWindows();

}  // namespace Win32Routing
