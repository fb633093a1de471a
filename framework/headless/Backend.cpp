// The in-memory backend: windows, controls and DCs as plain objects. The controls follow
// the platform's rules that the program relies on (see HeadlessUser.h for driving them).

#include "framework/Backend.h"

#include <errno.h>  // program_invocation_short_name

#include <cctype>
#include <cstring>
#include <string>

#include "framework/CDialog.h"
#include "framework/headless/HeadlessInternal.h"

namespace {

int Lookups = 0;  // Backend::DlgItem calls: the framework asking the platform for a control

struct HeadlessBitmap {
  std::vector<std::uint32_t> Pixels;
  int Width;
  int Height;
};

// A change the window shows: repainted at once unless its redraw is off.
void Repainted(HWND window) {
  if (window->Redraw) ++window->Repaints;
}

LRESULT ComboProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& items = window->Items;
  switch (message) {
    case CB_ADDSTRING: {
      items.emplace_back(reinterpret_cast<const char*>(lParam));
      auto index = static_cast<UINT>(items.size() - 1);
      window->ItemHeights.push_back(0);
      if (window->Style & HeadlessCbsOwnerDrawVariable) {  // the owner says how high each item is
        // The list asks the combo box, which passes the question on to its parent (below).
        MEASUREITEMSTRUCT measure{ODT_COMBOBOX, static_cast<UINT>(window->Id), index, 0, 13, 0};
        Backend::Send(window, WM_MEASUREITEM, static_cast<WPARAM>(window->Id), reinterpret_cast<LPARAM>(&measure));
        window->ItemHeights[index] = measure.itemHeight;
      }
      Repainted(window);
      return static_cast<LRESULT>(index);
    }
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      return Backend::Send(window->Parent, message, wParam, lParam);
    case CB_RESETCONTENT:
      items.clear();
      window->ItemHeights.clear();
      window->Selection = -1;
      Repainted(window);
      return 0;
    case CB_GETCOUNT:
      return static_cast<LRESULT>(items.size());
    case CB_GETCURSEL:
      return window->Selection;
    case CB_SETCURSEL: {
      auto index = static_cast<int>(static_cast<std::intptr_t>(wParam));
      if (index < 0 || index >= static_cast<int>(items.size())) {
        window->Selection = -1;
        Repainted(window);
        return CB_ERR;
      }
      window->Selection = index;
      Repainted(window);
      return index;
    }
    case CB_GETLBTEXTLEN:
    case CB_GETLBTEXT: {
      auto index = static_cast<std::size_t>(wParam);
      if (index >= items.size()) return CB_ERR;
      if (message == CB_GETLBTEXT) std::memcpy(reinterpret_cast<char*>(lParam), items[index].c_str(), items[index].size() + 1);
      return static_cast<LRESULT>(items[index].size());
    }
    default:
      return 0;
  }
}

// An edit control as Win32 keeps it: a text, a selection whose end is the caret, keys and
// pastes that replace the selection, and EN_CHANGE after every change of the text.
void ReplaceSelection(HWND edit, const std::string& text) {
  const std::string before = edit->Text;
  edit->Text.replace(static_cast<std::size_t>(edit->SelStart), static_cast<std::size_t>(edit->SelEnd - edit->SelStart),
                     text);
  edit->SelStart = edit->SelEnd = edit->SelStart + static_cast<int>(text.size());
  if (edit->Text != before) Headless::Notify(edit, EN_CHANGE);
}

LRESULT EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  const int length = static_cast<int>(edit->Text.size());
  switch (message) {
    case EM_SETSEL: {
      // -1 as the start takes the selection away; -1 as the end (or past the text) means its end.
      auto start = static_cast<int>(static_cast<std::intptr_t>(wParam));
      auto end = static_cast<int>(lParam);
      if (start == -1) {
        edit->SelStart = edit->SelEnd;
        return 0;
      }
      if (end < 0 || end > length) end = length;
      start = start < 0 || start > length ? length : start;
      edit->SelStart = start < end ? start : end;
      edit->SelEnd = start < end ? end : start;
      return 0;
    }
    case EM_GETSEL:
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(edit->SelStart);
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(edit->SelEnd);
      return MAKELRESULT(static_cast<WORD>(edit->SelStart), static_cast<WORD>(edit->SelEnd));
    case EM_REPLACESEL:
      ReplaceSelection(edit, reinterpret_cast<const char*>(lParam));
      return 0;
    case WM_CHAR: {
      const auto key = static_cast<char>(wParam);
      if (key == '\b') {  // Backspace: the selection, or the character before the caret
        if (edit->SelStart == edit->SelEnd && edit->SelStart > 0) --edit->SelStart;
        if (edit->SelStart != edit->SelEnd) ReplaceSelection(edit, "");
        return 0;
      }
      // ES_NUMBER refuses a key that is not a digit, and changes nothing.
      if ((edit->Style & HeadlessEsNumber) && !std::isdigit(static_cast<unsigned char>(key))) return 0;
      ReplaceSelection(edit, std::string(1, key));
      return 0;
    }
    default:
      return 0;
  }
}

// What a window does with a message by itself.
LRESULT BuiltInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window) return 0;
  switch (message) {
    case WM_SETREDRAW:
      window->Redraw = wParam != 0;  // turned on again, it repaints only when invalidated
      return 0;
    case WM_SETTEXT:
      window->Text = reinterpret_cast<const char*>(lParam);
      // As on Windows: the caret goes to the start and nothing stays selected.
      window->SelStart = window->SelEnd = 0;
      if (window->ClassName == "Edit") Headless::Notify(window, EN_CHANGE);
      return TRUE;
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(window->Text.size());
    case WM_SETICON: {
      HICON& slot = window->Icons[wParam == ICON_BIG ? 1 : 0];
      HICON before = slot;
      slot = reinterpret_cast<HICON>(lParam);
      return reinterpret_cast<LRESULT>(before);
    }
    default:
      if (window->ClassName == "ComboBox") return ComboProc(window, message, wParam, lParam);
      if (window->ClassName == "Edit") return EditProc(window, message, wParam, lParam);
      return 0;
  }
}

HWND__* Focused = nullptr;  // the window with the keyboard focus

}  // namespace

namespace Headless {
HWND__* FocusedWindow() { return Focused; }
void LoseFocus(HWND__* window) {
  if (Focused == window) Focused = nullptr;
}

void Notify(HWND__* control, UINT code) {
  Backend::Send(control->Parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(control->Id), static_cast<WORD>(code)),
                reinterpret_cast<LPARAM>(control));
}

int ControlLookups() { return Lookups; }
}  // namespace Headless

namespace Backend {

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window) return 0;
  if (CWnd* object = CWnd::FromHandlePermanent(window)) return object->WindowProc(message, wParam, lParam);
  return BuiltInProc(window, message, wParam, lParam);
}

LRESULT DefaultProc(CWnd& object, UINT message, WPARAM wParam, LPARAM lParam) {
  return BuiltInProc(object.m_hWnd, message, wParam, lParam);
}

bool Subclass(CWnd&) { return true; }  // an attached object already gets every message
void Unsubclass(CWnd&) {}

HWND DlgItem(HWND dialog, int id) {
  ++Lookups;
  if (!dialog) return nullptr;
  for (auto& child : dialog->Children)
    if (child->Id == id) return child.get();
  return nullptr;
}

int CtrlId(HWND window) { return window ? window->Id : 0; }
HWND ParentOf(HWND window) { return window ? window->Parent : nullptr; }

void SetText(HWND window, const CString& utf8) { Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(utf8.Str().c_str())); }
CString GetText(HWND window) { return window ? CString(window->Text) : CString(); }
void Focus(HWND window) {
  if (window) Focused = window;  // as SetFocus: the selection of an edit stays as it was
}

void Invalidate(HWND window, bool) {
  if (window) Repainted(window);
}

int ShowMessageBox(HWND, const CString& text, const CString&, UINT) {
  Headless::RecordMessageBox(text.Str());
  return IDOK;
}

INT_PTR RunModal(CDialog& dialog) {
  if (!Headless::CreateDialogWindow(dialog)) return -1;
  bool scripted = Headless::RunScript(dialog);
  HWND window = dialog.m_hWnd;
  INT_PTR result = scripted && window && window->Ended ? window->Result : IDCANCEL;
  Headless::DestroyDialogWindow(dialog);
  return result;
}

void EndModal(CDialog& dialog, int result) {
  if (!dialog.m_hWnd) return;
  dialog.m_hWnd->Ended = true;
  dialog.m_hWnd->Result = result;
}

int AddItem(HWND combo, const CString& bytes) {
  return static_cast<int>(Send(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(bytes.Str().c_str())));
}

CString ItemText(HWND combo, int index) {
  if (!combo || index < 0 || index >= static_cast<int>(combo->Items.size())) return {};
  return CString(combo->Items[static_cast<std::size_t>(index)]);
}

HDC CreateMemoryDC(HDC) { return new HDC__{}; }
void DeleteMemoryDC(HDC dc) { delete dc; }

void SelectBitmap(HDC dc, void* bitmapHandle) {
  auto* bitmap = static_cast<HeadlessBitmap*>(bitmapHandle);
  if (dc && bitmap) dc->Pixels = {bitmap->Pixels.data(), bitmap->Width, bitmap->Height};
}

bool CreateBitmap(int width, int height, PixelSurface& pixels, void*& handle) {
  auto* bitmap = new HeadlessBitmap{std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height), width, height};
  pixels = {bitmap->Pixels.data(), width, height};
  handle = bitmap;
  return true;
}

void DeleteBitmap(PixelSurface& pixels, void*& handle) {
  delete static_cast<HeadlessBitmap*>(handle);
  handle = nullptr;
  pixels = {};
}

HDC GetClientDC(HWND window, PixelSurface& pixels) {
  if (!window) return nullptr;
  pixels = window->ClientSurface();
  return new HDC__{pixels};
}

void ReleaseClientDC(HWND, HDC dc) { delete dc; }

PixelSurface SurfaceOf(HDC dc) { return dc ? dc->Pixels : PixelSurface{}; }

void DeviceFill(HDC, const RECT&, COLORREF) {}
bool DeviceBitBlt(HDC, int, int, int, int, HDC, int, int, DWORD) { return false; }
COLORREF DeviceSetPixel(HDC, int, int, COLORREF) { return 0xFFFFFFFF; }

HICON LoadAppIcon(UINT id) { return reinterpret_cast<HICON>(static_cast<std::uintptr_t>(0x10000 + id)); }

CString ExecutableName() { return CString(program_invocation_short_name); }

}  // namespace Backend
