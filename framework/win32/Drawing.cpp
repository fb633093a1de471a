// Device contexts and bitmaps over GDI. Bitmaps are 32-bit top-down DIB sections, so the
// program draws into their bits directly; GDI is used only for DCs it does not own.

#include <cstdint>
#include <unordered_map>

#include "framework/Backend.h"
#include "framework/win32/WindowsApi.h"

namespace {
struct MemoryDC {
  HGDIOBJ Original = nullptr;  // the bitmap the DC came with, put back before deleting
  HBITMAP Bitmap = nullptr;    // ours, selected now
  PixelSurface Pixels;
};

// Memory DCs the program made, and the DIB sections it made. Never destroyed: g_rom releases
// its sheets at exit, after statics made during the run would already be gone.
std::unordered_map<HDC, MemoryDC>& MemoryDCs() {
  static auto* dcs = new std::unordered_map<HDC, MemoryDC>;
  return *dcs;
}
std::unordered_map<HBITMAP, PixelSurface>& Bitmaps() {
  static auto* bitmaps = new std::unordered_map<HBITMAP, PixelSurface>;
  return *bitmaps;
}
}  // namespace

namespace Backend {

HDC CreateMemoryDC(HDC like) {
  HDC dc = CreateCompatibleDC(like);
  if (dc) MemoryDCs()[dc] = {};
  return dc;
}

void DeleteMemoryDC(HDC dc) {
  auto found = MemoryDCs().find(dc);
  if (found != MemoryDCs().end()) {
    if (found->second.Original) SelectObject(dc, found->second.Original);
    MemoryDCs().erase(found);
  }
  DeleteDC(dc);
}

void SelectBitmap(HDC dc, void* bitmapHandle) {
  auto bitmap = static_cast<HBITMAP>(bitmapHandle);
  HGDIOBJ before = SelectObject(dc, bitmap);
  if (!before || before == HGDI_ERROR) return;
  auto found = MemoryDCs().find(dc);
  if (found == MemoryDCs().end()) return;
  MemoryDC& entry = found->second;
  if (!entry.Original) entry.Original = before;
  auto known = Bitmaps().find(bitmap);
  entry.Bitmap = bitmap;
  entry.Pixels = known != Bitmaps().end() ? known->second : PixelSurface{};
}

bool CreateBitmap(int width, int height, PixelSurface& pixels, void*& handle) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows top first, as PixelSurface has them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return false;
  }
  pixels = PixelSurface{static_cast<std::uint32_t*>(bits), width, height};
  handle = bitmap;
  Bitmaps()[bitmap] = pixels;
  return true;
}

void DeleteBitmap(PixelSurface& pixels, void*& handle) {
  auto bitmap = static_cast<HBITMAP>(handle);
  // GDI refuses to delete a selected bitmap: give its DC back the bitmap it came with.
  for (auto& [dc, entry] : MemoryDCs())
    if (bitmap && entry.Bitmap == bitmap) {
      SelectObject(dc, entry.Original);
      entry.Bitmap = nullptr;
      entry.Pixels = {};
    }
  if (bitmap) {
    Bitmaps().erase(bitmap);
    DeleteObject(bitmap);
  }
  pixels = {};
  handle = nullptr;
}

HDC GetClientDC(HWND window, PixelSurface& pixels) {
  pixels = {};  // drawn through GDI
  return GetDC(window);
}

void ReleaseClientDC(HWND window, HDC dc) { ReleaseDC(window, dc); }

PixelSurface SurfaceOf(HDC dc) {
  auto found = MemoryDCs().find(dc);
  return found != MemoryDCs().end() ? found->second.Pixels : PixelSurface{};
}

// After GDI has drawn, the program may read DIB bits directly: flush GDI's batch first.

void DeviceFill(HDC dc, const RECT& rect, COLORREF colour) {
  COLORREF before = SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  SetBkColor(dc, before);
  GdiFlush();
}

bool DeviceBitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop) {
  bool done = ::BitBlt(target, x, y, width, height, source, sourceX, sourceY, rop) != FALSE;
  GdiFlush();
  return done;
}

COLORREF DeviceSetPixel(HDC dc, int x, int y, COLORREF colour) {
  COLORREF set = ::SetPixel(dc, x, y, colour);
  GdiFlush();
  return set;
}

}  // namespace Backend
