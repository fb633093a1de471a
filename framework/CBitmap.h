#pragma once
// A bitmap whose pixels the program owns (see PixelSurface); on Windows a DIB section.

#include "framework/CGdiObject.h"
#include "framework/PixelSurface.h"

class CDC;

class CBitmap : public CGdiObject {
 public:
  ~CBitmap() override;

  // A width x height bitmap for use with dc (32 bits a pixel whatever the display has).
  // Returns FALSE, holding nothing, when it cannot be made.
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  BOOL DeleteObject() override;

  const PixelSurface& Surface() const { return Pixels; }
  void* Handle() const { return SystemHandle; }  // HBITMAP on Windows

 private:
  PixelSurface Pixels;
  void* SystemHandle = nullptr;
};
