#pragma once
// What the framework asks of a platform. The framework classes hold the rules; these
// functions only reach the platform.
//
// win32/ implements all of it over the real USER32/GDI32/COMDLG32 (W functions): there the
// system's controls are the model. Every other backend draws its own controls and shares one
// window model, framework/model/, which implements everything below but LoadAppIcon and
// ApplicationName once, with every Windows rule it follows (the modal loop and message boxes
// included). Such a backend adds, and nothing else:
//   - the hooks of framework/model/ModelBackend.h: the program's resource texts, the peers of a
//     dialog's windows (WindowPeer, which show the model's state), its modal loop, and a
//     message box shown as the model's form;
//   - its peers' handing of what the user does to the model's user input (WindowModel.h);
//   - LoadAppIcon, ApplicationName, CFileDialog::DoModal and the program's entry point.
// headless/ (the tests' in-memory backend) has no peers and no entry point (each test program
// has its own main); qt/ and web/ have widgets and elements.

#include "framework/CString.h"
#include "framework/PixelSurface.h"
#include "framework/WinTypes.h"

class CDialog;
class CWnd;

namespace Backend {

// --- Windows and controls ---

// Delivers a message: to the attached object's WindowProc, else to the window's own handling.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// What the window does with a message when no object handles it.
LRESULT DefaultProc(CWnd& object, UINT message, WPARAM wParam, LPARAM lParam);
// Routes the window's messages to object (which is already in the handle map).
bool Subclass(CWnd& object);
void Unsubclass(CWnd& object);

HWND DlgItem(HWND dialog, int id);
int CtrlId(HWND window);
HWND ParentOf(HWND window);
void SetText(HWND window, const CString& utf8);
CString GetText(HWND window);
// The keyboard focus goes to the window, unless it takes no input (disabled), as SetFocus refuses.
void Focus(HWND window);
// EnableWindow: true when the window was disabled before. A disabled window takes no input and
// no focus; the focus it had is gone (to no window), as on Windows.
bool Enable(HWND window, bool enable);
bool IsEnabled(HWND window);
// The whole client area is to be repainted (erasing the background first when erase is true).
void Invalidate(HWND window, bool erase);
int ShowMessageBox(HWND owner, const CString& text, const CString& caption, UINT type);

// --- Dialogs ---

// Creates the dialog from its template (attaching dialog to the window on its first
// message), runs it modally and returns the EndDialog result, -1 if it cannot be created.
INT_PTR RunModal(CDialog& dialog);
void EndModal(CDialog& dialog, int result);

// --- Combo box items: GameText bytes, carried so that every byte 0x01..0xFF comes back ---

int AddItem(HWND combo, const CString& bytes);
CString ItemText(HWND combo, int index);

// --- Drawing ---

HDC CreateMemoryDC(HDC like);
void DeleteMemoryDC(HDC dc);
void SelectBitmap(HDC dc, void* bitmapHandle);
// A 32-bit top-down bitmap whose pixels the program can address; false when it cannot be made.
bool CreateBitmap(int width, int height, PixelSurface& pixels, void*& handle);
void DeleteBitmap(PixelSurface& pixels, void*& handle);
// A window's client-area DC; pixels is filled when the backend keeps the window in memory.
HDC GetClientDC(HWND window, PixelSurface& pixels);
void ReleaseClientDC(HWND window, HDC dc);
// A DC the program does not own: its pixels, when it draws into memory the backend knows.
PixelSurface SurfaceOf(HDC dc);
// Drawing on a system DC (only reached when the DC has no surface).
void DeviceFill(HDC dc, const RECT& rect, COLORREF colour);
bool DeviceBitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop);
COLORREF DeviceSetPixel(HDC dc, int x, int y, COLORREF colour);

// --- Application ---

HICON LoadAppIcon(UINT id);
// The name the program's captions carry: on Windows the executable's file name without folder
// or extension, as the framework there names a program; in Qt and the page the product name its
// resources give; in the in-memory backend the test program's name (tests carry no resources).
CString ApplicationName();

}  // namespace Backend
