// Device contexts and bitmaps: a bitmap is a QImage of 32-bit pixels the program owns (RGB32
// is laid out as a PixelSurface), so the program draws into it directly. A dialog's client
// DC draws into pixels kept beside the dialog and not shown: the one drawing the program
// makes there (the sheets' preview) lies below the visible client area.

#include <QImage>

#include "framework/Backend.h"
#include "framework/qt/QtWindow.h"

namespace Backend {

HDC CreateMemoryDC(HDC) { return new HDC__{}; }
void DeleteMemoryDC(HDC dc) { delete dc; }

void SelectBitmap(HDC dc, void* bitmapHandle) {
  auto* bitmap = static_cast<QImage*>(bitmapHandle);
  if (dc && bitmap)
    dc->Pixels = {reinterpret_cast<std::uint32_t*>(bitmap->bits()), bitmap->width(), bitmap->height()};
}

bool CreateBitmap(int width, int height, PixelSurface& pixels, void*& handle) {
  auto* bitmap = new QImage(width, height, QImage::Format_RGB32);
  if (bitmap->isNull()) {
    delete bitmap;
    return false;
  }
  bitmap->fill(0);
  pixels = {reinterpret_cast<std::uint32_t*>(bitmap->bits()), width, height};
  handle = bitmap;
  return true;
}

void DeleteBitmap(PixelSurface& pixels, void*& handle) {
  delete static_cast<QImage*>(handle);
  handle = nullptr;
  pixels = {};
}

HDC GetClientDC(HWND window, PixelSurface& pixels) {
  if (!window || window->Client.empty()) return nullptr;
  pixels = {window->Client.data(), window->ClientWidth, window->ClientHeight};
  return new HDC__{pixels};
}

void ReleaseClientDC(HWND, HDC dc) { delete dc; }

PixelSurface SurfaceOf(HDC dc) { return dc ? dc->Pixels : PixelSurface{}; }

// Every DC of this backend has pixels the program draws into itself.
void DeviceFill(HDC, const RECT&, COLORREF) {}
bool DeviceBitBlt(HDC, int, int, int, int, HDC, int, int, DWORD) { return false; }
COLORREF DeviceSetPixel(HDC, int, int, COLORREF) { return 0xFFFFFFFF; }

}  // namespace Backend
