// Device contexts and bitmaps in memory: a bitmap is a pixel array the program owns, a
// window's client DC draws into the window's own pixels, and a DC without either draws nothing.

#include <cstdint>
#include <vector>

#include "framework/Backend.h"
#include "framework/headless/HeadlessWindow.h"

namespace {

struct HeadlessBitmap {
  std::vector<std::uint32_t> Pixels;
  int Width;
  int Height;
};

}  // namespace

namespace Backend {

HDC CreateMemoryDC(HDC) { return new HDC__{}; }
void DeleteMemoryDC(HDC dc) { delete dc; }

void SelectBitmap(HDC dc, void* bitmapHandle) {
  auto* bitmap = static_cast<HeadlessBitmap*>(bitmapHandle);
  if (dc && bitmap) dc->Pixels = {bitmap->Pixels.data(), bitmap->Width, bitmap->Height};
}

bool CreateBitmap(int width, int height, PixelSurface& pixels, void*& handle) {
  auto* bitmap =
      new HeadlessBitmap{std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height), width, height};
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

}  // namespace Backend
