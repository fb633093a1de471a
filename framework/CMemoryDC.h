#pragma once
// A memory DC together with the bitmap selected into it for the DC's whole life; the two
// are made and released together.

#include "framework/CDC.h"

class CMemoryDC : public CDC {
 public:
  ~CMemoryDC() override { Release(); }

  // Releases the DC, then its bitmap. Nothing happens when neither exists.
  void Release() {
    DeleteDC();
    Bitmap.DeleteObject();
  }

  CBitmap Bitmap;
};
