#pragma once
// Message maps: per class, a plain table of (message, notification code, id, handler),
// chained to the base class's table. Lookup walks the class's own entries in order, then
// its base's.
//
//   BEGIN_MESSAGE_MAP(CEditorDlg, CDialog)
//     ON_CBN_SELCHANGE(IDC_BONUS, OnSelchangeBonus)
//     ON_WM_PAINT()
//   END_MESSAGE_MAP()

#include <type_traits>

#include "framework/WinTypes.h"

class CCmdTarget;

// Messages reflected from a parent to the control that sent them.
inline constexpr UINT WM_REFLECT_BASE = 0xBC00;

// Calls one member function of the map's class; returns what the handler returns (0 for void).
using MessageHandler = LRESULT (*)(CCmdTarget& target);

struct MessageMapEntry {
  UINT Message;  // 0 ends the table
  UINT Code;     // notification code; 0 for menu commands and plain messages
  UINT Id;       // control or command id; 0 for plain messages
  MessageHandler Handler;
};

struct MessageMap {
  const MessageMap* (*Base)();  // null for the root
  const MessageMapEntry* Entries;
};

// First entry for (message, code, id) in map and its bases, or null.
const MessageMapEntry* FindMessageEntry(const MessageMap* map, UINT message, UINT code, UINT id);

namespace MessageMapDetail {
template <class T>
struct MemberClass;
template <class C, class R>
struct MemberClass<R (C::*)()> {
  using Type = C;
};

template <auto Method>
LRESULT Call(CCmdTarget& target) {
  using Class = typename MemberClass<decltype(Method)>::Type;
  auto& self = static_cast<Class&>(target);
  if constexpr (std::is_void_v<decltype((self.*Method)())>) {
    (self.*Method)();
    return 0;
  } else {
    return (LRESULT)((self.*Method)());
  }
}
}  // namespace MessageMapDetail

#define DECLARE_MESSAGE_MAP()                   \
 protected:                                     \
  static const MessageMap* GetThisMessageMap(); \
                                                \
 public:                                        \
  const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
  const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const MessageMap* theClass::GetThisMessageMap() {                                 \
    using ThisClass [[maybe_unused]] = theClass;                                    \
    using TheBaseClass = baseClass;                                                 \
    static const MessageMapEntry entries[] = {
#define END_MESSAGE_MAP()                                                 \
  { 0, 0, 0, nullptr }                                                    \
  }                                                                       \
  ;                                                                       \
  static const MessageMap map{&TheBaseClass::GetThisMessageMap, entries}; \
  return &map;                                                            \
  }

#define TAVERO_MAP_ENTRY(message, code, id, member) \
  {message, code, static_cast<UINT>(id), &MessageMapDetail::Call<&ThisClass::member>},

#define ON_COMMAND(id, member) TAVERO_MAP_ENTRY(WM_COMMAND, 0, id, member)
#define ON_CBN_SELCHANGE(id, member) TAVERO_MAP_ENTRY(WM_COMMAND, CBN_SELCHANGE, id, member)
#define ON_EN_CHANGE(id, member) TAVERO_MAP_ENTRY(WM_COMMAND, EN_CHANGE, id, member)
#define ON_CONTROL(code, id, member) TAVERO_MAP_ENTRY(WM_COMMAND, code, id, member)
#define ON_WM_PAINT() TAVERO_MAP_ENTRY(WM_PAINT, 0, 0, OnPaint)
#define ON_WM_QUERYDRAGICON() TAVERO_MAP_ENTRY(WM_QUERYDRAGICON, 0, 0, OnQueryDragIcon)
#define ON_WM_QUERYENDSESSION() TAVERO_MAP_ENTRY(WM_QUERYENDSESSION, 0, 0, OnQueryEndSession)
// A notification reflected back to the control; a TRUE result keeps it from the parent.
#define ON_CONTROL_REFLECT_EX(code, member) TAVERO_MAP_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, member)
