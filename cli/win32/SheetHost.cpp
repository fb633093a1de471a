#include "cli/SheetHost.h"

#include <windows.h>

#include "framework/CWnd.h"
#include "render/SheetBuilder.h"

namespace Cli {

void BuildImageSheets(CRomImage& rom) {
  // A window that is never shown: its DC clips the preview away. A null window would mean
  // the screen's DC, and the preview would land on the user's desktop.
  HWND hidden = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr),
                                nullptr);
  CWnd window;
  window.m_hWnd = hidden;  // not attached: only its DC is asked for
  BuildSheets(window, rom);
  window.m_hWnd = nullptr;
  if (hidden) DestroyWindow(hidden);
}

}  // namespace Cli
