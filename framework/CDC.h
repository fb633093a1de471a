#pragma once
// A device context. A memory DC with a bitmap selected draws into pixels the program owns,
// so SetPixel, FillSolidRect and BitBlt between such DCs never reach the system; a window's
// DC (on Windows) goes through GDI. Drawing on a DC without a surface or handle does nothing.

#include "framework/CBitmap.h"
#include "framework/WinTypes.h"

class CWnd;

class CDC {
 public:
  CDC() = default;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;
  virtual ~CDC();  // deletes a DC it created; an attached one is only detached

  HDC m_hDC = nullptr;
  HDC GetSafeHdc() const { return m_hDC; }

  // A memory DC like dc (or like the screen when dc is null), with no bitmap yet.
  BOOL CreateCompatibleDC(CDC* dc);
  BOOL DeleteDC();
  // Selects bitmap into this DC; returns the bitmap selected before. A null bitmap does nothing.
  CBitmap* SelectObject(CBitmap* bitmap);

  // Wraps a DC that someone else owns (as DrawItem is handed one); Detach before it goes.
  BOOL Attach(HDC dc);
  HDC Detach();

  COLORREF SetPixel(int x, int y, COLORREF colour);
  COLORREF GetPixel(int x, int y) const;  // CLR_INVALID_COLOUR outside the surface
  void FillSolidRect(LPCRECT rect, COLORREF colour);
  BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, DWORD rop);

  // The pixels this DC draws into, when the program owns them.
  const PixelSurface& Surface() const { return Pixels; }

 protected:
  PixelSurface Pixels;
  CBitmap* Selected = nullptr;
  bool Owned = false;  // this object created m_hDC
};

// The client area of a window, for the life of the object.
class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* window);
  ~CClientDC() override;

 private:
  CWnd* Window;
};

// What SetPixel and GetPixel give outside a surface: the value of Windows' CLR_INVALID, named
// apart so that it cannot clash with the system header's macro.
inline constexpr COLORREF CLR_INVALID_COLOUR = 0xFFFFFFFF;
