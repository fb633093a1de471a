#include "framework/MessageMap.h"

const MessageMapEntry* FindMessageEntry(const MessageMap* map, UINT message, UINT code, UINT id) {
  for (; map; map = map->Base ? map->Base() : nullptr)
    for (const MessageMapEntry* entry = map->Entries; entry->Message != 0; ++entry)
      if (entry->Message == message && entry->Code == code && entry->Id == id) return entry;
  return nullptr;
}
