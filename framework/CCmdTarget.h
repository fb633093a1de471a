#pragma once
// The root of everything that has a message map.

#include "framework/MessageMap.h"

class CCmdTarget {
 public:
  virtual ~CCmdTarget() = default;
  virtual const MessageMap* GetMessageMap() const { return GetThisMessageMap(); }

  // Runs the handler mapped to (message, code, id), if any; true when one ran.
  bool DispatchMapped(UINT message, UINT code, UINT id, LRESULT* result = nullptr);

 protected:
  static const MessageMap* GetThisMessageMap();
};
