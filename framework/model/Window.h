#pragma once
// The window model shared by every backend that draws its own controls (the in-memory one of
// the tests, Qt, the web page): one record per window holding what a Windows window holds
// (class, id, style, text, caret and selection, items, selection, redraw, client pixels), and
// the rules by which Windows changes it live once, in framework/model/. A backend only
// mirrors the record into what the user sees, through the window's peer, and turns what the
// user does into model updates (WindowModel.h).

#include <memory>
#include <string>
#include <vector>

#include "framework/PixelSurface.h"
#include "framework/WinTypes.h"

class CDialog;

// What a backend shows of one window. The model calls it after each change, once the record
// holds the new state; a peer never changes the record from these calls.
class WindowPeer {
 public:
  virtual ~WindowPeer() = default;
  virtual void ItemsChanged() {}      // a combo box's items were added or removed
  virtual void SelectionChanged() {}  // a combo box's current item
  virtual void TextChanged() {}       // the text, and an edit's caret and selection
  virtual void RedrawChanged() {}     // WM_SETREDRAW
  virtual void Repaint() {}           // to be drawn again (only while redraw is on)
  virtual void FocusTaken() {}        // the keyboard focus came to this window
  virtual void EnabledChanged() {}    // WS_DISABLED set or cleared (EnableWindow)
  virtual void IconChanged() {}
  virtual void DialogEnded() {}  // a dialog: EndDialog was called
};

struct HWND__ {
  std::string ClassName;  // "#32770" for a dialog, else "ComboBox", "Edit", "Static", "Button"
  int Id = 0;
  DWORD Style = 0;
  HWND__* Parent = nullptr;
  std::vector<std::unique_ptr<HWND__>> Children;  // a dialog's controls, in template order
  std::string Text;                               // UTF-8; an edit's digits
  // An edit's selection, as byte positions in Text; the caret stands at SelEnd. Empty
  // (SelStart == SelEnd) when nothing is selected.
  int SelStart = 0;
  int SelEnd = 0;
  std::vector<std::string> Items;  // a combo box's item bytes
  std::vector<UINT> ItemHeights;   // as the owner measured them
  UINT FieldHeight = 0;            // an owner-drawn combo box's selection field, as measured
  int Selection = -1;
  int TopIndex = 0;                     // the item in the list's top row (see ListPageRows)
  bool Dropped = false;                 // a combo box's list is open
  HICON Icons[2] = {nullptr, nullptr};  // ICON_SMALL, ICON_BIG
  RECT Area{};                          // client pixels of the parent, from the template
  std::vector<std::uint32_t> Client;    // a dialog's client pixels, for what the program draws there
  int ClientWidth = 0;
  int ClientHeight = 0;
  // WM_SETREDRAW: while it is off the window is not repainted. Repaints counts the times it
  // was to be: a combo box's list or selection changing, Invalidate.
  bool Redraw = true;
  int Repaints = 0;

  // A dialog between its creation and its end.
  CDialog* Dialog = nullptr;
  bool Ended = false;
  int Result = 0;

  WindowPeer* Peer = nullptr;  // the backend's mirror; null in memory

  PixelSurface ClientSurface() { return {Client.data(), ClientWidth, ClientHeight}; }
};

struct HDC__ {
  PixelSurface Pixels;  // what the DC draws into; empty for a memory DC without a bitmap
};
