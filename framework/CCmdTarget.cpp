#include "framework/CCmdTarget.h"

const MessageMap* CCmdTarget::GetThisMessageMap() {
  static const MessageMapEntry entries[] = {{0, 0, 0, nullptr}};
  static const MessageMap map{nullptr, entries};
  return &map;
}

bool CCmdTarget::DispatchMapped(UINT message, UINT code, UINT id, LRESULT* result) {
  const MessageMapEntry* entry = FindMessageEntry(GetMessageMap(), message, code, id);
  if (!entry) return false;
  LRESULT value = entry->Handler(*this);
  if (result) *result = value;
  return true;
}
