#pragma once
// The user's mouse, through the system's input queue: for the Wine programs that drive
// windows as a user would (the smoke test and the end-to-end driver).

#include <windows.h>

namespace MouseInput {

inline void MoveTo(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dwFlags = MOUSEEVENTF_MOVE;  // a zero move, so hover tracking sees the pointer
  SendInput(1, &move, sizeof move);
}

inline void Click() {
  INPUT press[2]{};
  press[0].type = press[1].type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, press, sizeof press[0]);
}

inline void ClickAt(POINT screen) {
  MoveTo(screen);
  Click();
}

}  // namespace MouseInput
