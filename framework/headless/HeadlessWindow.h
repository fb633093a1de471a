#pragma once
// The in-memory backend's windows and DCs: plain objects that hold what a real window would
// (class, id, style, text, items, selection) and that tests read directly.

#include <memory>
#include <string>
#include <vector>

#include "framework/PixelSurface.h"
#include "framework/WinTypes.h"

class CDialog;

struct HWND__ {
  std::string ClassName;  // "#32770" for a dialog, else "ComboBox", "Edit", "Static", "Button"
  int Id = 0;
  DWORD Style = 0;
  HWND__* Parent = nullptr;
  std::vector<std::unique_ptr<HWND__>> Children;  // a dialog's controls, in template order
  std::string Text;                               // UTF-8, or digits in an edit
  // An edit's selection, as byte positions in Text; the caret stands at SelEnd. Empty
  // (SelStart == SelEnd) when nothing is selected.
  int SelStart = 0;
  int SelEnd = 0;
  std::vector<std::string> Items;                 // combo box item bytes
  std::vector<UINT> ItemHeights;                  // as the owner measured them
  int Selection = -1;
  HICON Icons[2] = {nullptr, nullptr};            // ICON_SMALL, ICON_BIG
  std::vector<std::uint32_t> Client;              // the client area's pixels
  int ClientWidth = 0;
  int ClientHeight = 0;
  // WM_SETREDRAW: while it is off the window is not repainted. Repaints counts the times it
  // was to be: a combo box's list or selection changing, Invalidate.
  bool Redraw = true;
  int Repaints = 0;

  // A running dialog.
  CDialog* Dialog = nullptr;
  bool Ended = false;
  int Result = 0;

  PixelSurface ClientSurface() { return {Client.data(), ClientWidth, ClientHeight}; }
};

struct HDC__ {
  PixelSurface Pixels;  // what the DC draws into; empty for a memory DC without a bitmap
};

// Style bits the in-memory controls act on.
inline constexpr DWORD HeadlessEsNumber = 0x2000;            // ES_NUMBER
inline constexpr DWORD HeadlessWsTabStop = 0x00010000;       // WS_TABSTOP
inline constexpr DWORD HeadlessCbsOwnerDrawVariable = 0x0020;  // CBS_OWNERDRAWVARIABLE
