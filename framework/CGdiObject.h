#pragma once
// A drawing object that owns a system resource, released by DeleteObject or the destructor.

#include "framework/WinTypes.h"

class CGdiObject {
 public:
  CGdiObject() = default;
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;
  virtual ~CGdiObject() = default;

  virtual BOOL DeleteObject() = 0;
};
