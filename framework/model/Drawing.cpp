// Device contexts and bitmaps in memory: a bitmap is a pixel array the program owns, a
// window's client DC draws into the window's own pixels, and a DC without either draws nothing.
// A backend shows these pixels where it shows them (an owner-drawn item, see DrawItem).

#include <cstdint>
#include <vector>

#include "framework/Backend.h"
#include "framework/model/WindowModel.h"

namespace {

struct PixelBitmap {
  std::vector<std::uint32_t> Pixels;
  int Width;
  int Height;
};

}  // namespace

namespace Backend {

HDC CreateMemoryDC(HDC) { return new HDC__{}; }
void DeleteMemoryDC(HDC dc) { delete dc; }

void SelectBitmap(HDC dc, void* bitmapHandle) {
  auto* bitmap = static_cast<PixelBitmap*>(bitmapHandle);
  if (dc && bitmap) dc->Pixels = {bitmap->Pixels.data(), bitmap->Width, bitmap->Height};
}

bool CreateBitmap(int width, int height, PixelSurface& pixels, void*& handle) {
  auto* bitmap = new PixelBitmap{std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height), width, height};
  pixels = {bitmap->Pixels.data(), width, height};
  handle = bitmap;
  return true;
}

void DeleteBitmap(PixelSurface& pixels, void*& handle) {
  delete static_cast<PixelBitmap*>(handle);
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

}  // namespace Backend

namespace WindowModel {

void DrawItem(HWND__* combo, int index, UINT state, PixelSurface target, RECT where) {
  if (!combo) return;
  HDC__ dc{target};
  DRAWITEMSTRUCT item{ODT_COMBOBOX,
                      static_cast<UINT>(combo->Id),
                      static_cast<UINT>(index),
                      ODA_DRAWENTIRE,
                      state,
                      combo,
                      &dc,
                      where,
                      0};
  // The control asks its owner, which hands it back to the control's object (reflection).
  Backend::Send(combo->Parent, WM_DRAWITEM, static_cast<WPARAM>(combo->Id), reinterpret_cast<LPARAM>(&item));
}

}  // namespace WindowModel
