#include "framework/CDC.h"

#include <algorithm>
#include <cstring>

#include "framework/Backend.h"
#include "framework/CWnd.h"

CDC::~CDC() {
  if (Owned) DeleteDC();
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
  if (m_hDC) return FALSE;
  m_hDC = Backend::CreateMemoryDC(dc ? dc->m_hDC : nullptr);
  Owned = m_hDC != nullptr;
  return Owned ? TRUE : FALSE;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  if (Owned) Backend::DeleteMemoryDC(m_hDC);
  m_hDC = nullptr;
  Owned = false;
  Selected = nullptr;
  Pixels = {};
  return TRUE;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  CBitmap* before = Selected;
  if (!bitmap || !bitmap->Surface() || !m_hDC) return before;  // nothing to select, as selecting a null handle
  Backend::SelectBitmap(m_hDC, bitmap->Handle());
  Selected = bitmap;
  Pixels = bitmap->Surface();
  return before;
}

BOOL CDC::Attach(HDC dc) {
  if (m_hDC || !dc) return FALSE;
  m_hDC = dc;
  Owned = false;
  Pixels = Backend::SurfaceOf(dc);
  return TRUE;
}

HDC CDC::Detach() {
  HDC dc = m_hDC;
  m_hDC = nullptr;
  Pixels = {};
  return dc;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF colour) {
  if (Pixels) {
    if (!Pixels.Contains(x, y)) return CLR_INVALID_COLOUR;
    Pixels.Bits[y * Pixels.Width + x] = PixelFromColorRef(colour);
    return colour;
  }
  return m_hDC ? Backend::DeviceSetPixel(m_hDC, x, y, colour) : CLR_INVALID_COLOUR;
}

COLORREF CDC::GetPixel(int x, int y) const {
  if (!Pixels.Contains(x, y)) return CLR_INVALID_COLOUR;
  return ColorRefFromPixel(Pixels.Bits[y * Pixels.Width + x]);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF colour) {
  if (!Pixels) {
    if (m_hDC) Backend::DeviceFill(m_hDC, *rect, colour);
    return;
  }
  int left = std::max<int>(rect->left, 0), right = std::min<int>(rect->right, Pixels.Width);
  int top = std::max<int>(rect->top, 0), bottom = std::min<int>(rect->bottom, Pixels.Height);
  std::uint32_t pixel = PixelFromColorRef(colour);
  for (int y = top; y < bottom; ++y)
    std::fill_n(Pixels.Bits + y * Pixels.Width + left, std::max(right - left, 0), pixel);
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, DWORD rop) {
  if (!source) return FALSE;
  if (!Pixels || !source->Pixels || rop != SRCCOPY) {
    if (!m_hDC || !source->m_hDC) return FALSE;
    return Backend::DeviceBitBlt(m_hDC, x, y, width, height, source->m_hDC, sourceX, sourceY, rop) ? TRUE : FALSE;
  }
  // Clip the rectangle to both surfaces, then copy row by row.
  const PixelSurface& from = source->Pixels;
  if (x < 0) {
    width += x;
    sourceX -= x;
    x = 0;
  }
  if (y < 0) {
    height += y;
    sourceY -= y;
    y = 0;
  }
  if (sourceX < 0) {
    width += sourceX;
    x -= sourceX;
    sourceX = 0;
  }
  if (sourceY < 0) {
    height += sourceY;
    y -= sourceY;
    sourceY = 0;
  }
  width = std::min({width, Pixels.Width - x, from.Width - sourceX});
  height = std::min({height, Pixels.Height - y, from.Height - sourceY});
  if (width <= 0 || height <= 0) return TRUE;
  for (int row = 0; row < height; ++row)
    std::memmove(Pixels.Bits + (y + row) * Pixels.Width + x, from.Bits + (sourceY + row) * from.Width + sourceX,
                 static_cast<std::size_t>(width) * sizeof(std::uint32_t));
  return TRUE;
}

CClientDC::CClientDC(CWnd* window) : Window(window) {
  m_hDC = Backend::GetClientDC(window ? window->m_hWnd : nullptr, Pixels);
}

CClientDC::~CClientDC() {
  if (m_hDC) Backend::ReleaseClientDC(Window ? Window->m_hWnd : nullptr, m_hDC);
  m_hDC = nullptr;
}

CBitmap::~CBitmap() { CBitmap::DeleteObject(); }

BOOL CBitmap::CreateCompatibleBitmap(CDC*, int width, int height) {
  if (Pixels || width <= 0 || height <= 0) return FALSE;
  return Backend::CreateBitmap(width, height, Pixels, SystemHandle) ? TRUE : FALSE;
}

BOOL CBitmap::DeleteObject() {
  if (!Pixels && !SystemHandle) return FALSE;
  Backend::DeleteBitmap(Pixels, SystemHandle);
  Pixels = {};
  SystemHandle = nullptr;
  return TRUE;
}
