// The controls of a dialog as elements of the page: each window of the model has a peer that
// tells page.js what changed (the element then shows the model's state), and the page asks
// back here for what it draws: an item's pixels, its height, its name for screen readers.

#include <emscripten.h>

#include <memory>
#include <vector>

#include "framework/model/WindowModel.h"
#include "framework/web/WebControls.h"
#include "framework/web/WebPage.h"

namespace {

// The kinds page.js makes elements for.
enum ElementKind { ComboElement = 0, EditElement = 1, StaticElement = 2, ButtonElement = 3 };

// The page's JavaScript, which the formatter would take for C++ ("===" became "== =").
// clang-format off
EM_JS(void, PageCreateControl,
      (HWND__ * window, HWND__* dialog, int kind, int id, int x, int y, int width, int height, int style,
       const char* text, int tabStop, int boxHeight, int buttonWidth, int listHeight),
      {
        TaveroPage.createControl(window, dialog, kind, id, x, y, width, height, style, UTF8ToString(text),
                                 tabStop != 0, { boxHeight, buttonWidth, listHeight });
      });
EM_JS(void, PageItemsChanged, (HWND__ * window, int count), { TaveroPage.itemsChanged(window, count); });
EM_JS(void, PageSelectionChanged, (HWND__ * window, int index), { TaveroPage.selectionChanged(window, index); });
EM_JS(void, PageTextChanged, (HWND__ * window, const char* text, int start, int end),
      { TaveroPage.textChanged(window, UTF8ToString(text), start, end); });
EM_JS(void, PageRedrawChanged, (HWND__ * window, int on), { TaveroPage.redrawChanged(window, on != 0); });
EM_JS(void, PageRepaint, (HWND__ * window), { TaveroPage.repaint(window); });
EM_JS(void, PageFocus, (HWND__ * window), { TaveroPage.focus(window); });
EM_JS(void, PageEnabledChanged, (HWND__ * window, int enabled), { TaveroPage.enabledChanged(window, enabled != 0); });
// clang-format on

class ControlPeer : public WindowPeer {
 public:
  explicit ControlPeer(HWND__* window) : Window(window) {}
  void ItemsChanged() override { PageItemsChanged(Window, static_cast<int>(Window->Items.size())); }
  void SelectionChanged() override { PageSelectionChanged(Window, Window->Selection); }
  void TextChanged() override { PageTextChanged(Window, Window->Text.c_str(), Window->SelStart, Window->SelEnd); }
  void RedrawChanged() override { PageRedrawChanged(Window, Window->Redraw ? 1 : 0); }
  void Repaint() override { PageRepaint(Window); }
  void FocusTaken() override { PageFocus(Window); }
  void EnabledChanged() override { PageEnabledChanged(Window, (Window->Style & WS_DISABLED) ? 0 : 1); }

 private:
  HWND__* Window;
};

std::vector<std::unique_ptr<ControlPeer>> Peers;  // of the open dialogs' controls

int KindOf(const HWND__* window) {
  if (window->ClassName == "ComboBox") return ComboElement;
  if (window->ClassName == "Edit") return EditElement;
  if (window->ClassName == "Button") return ButtonElement;
  return StaticElement;
}

}  // namespace

namespace WebControls {

void CreateControlElements(HWND__* dialog) {
  for (auto& child : dialog->Children) {
    HWND__* window = child.get();
    const bool combo = KindOf(window) == ComboElement;
    PageCreateControl(window, dialog, KindOf(window), window->Id, window->Area.left, window->Area.top,
                      window->Area.right - window->Area.left, window->Area.bottom - window->Area.top,
                      static_cast<int>(window->Style), window->Text.c_str(), (window->Style & WS_TABSTOP) ? 1 : 0,
                      combo ? WindowModel::ComboBoxHeight(window) : 0, WindowModel::DropButtonWidth,
                      combo ? WindowModel::DroppedListHeight(window) : 0);
    Peers.push_back(std::make_unique<ControlPeer>(window));
    window->Peer = Peers.back().get();
  }
}

void ForgetControlPeers(HWND__* dialog) {
  for (auto& child : dialog->Children) {
    WindowPeer* peer = child->Peer;
    child->Peer = nullptr;
    std::erase_if(Peers, [peer](const auto& held) { return held.get() == peer; });
  }
}

}  // namespace WebControls

// What the page asks while it draws and names the items of a list. It asks only of windows it
// was told of; each answer is about the window as the model holds it now.
extern "C" {

EMSCRIPTEN_KEEPALIVE int tavero_item_height(HWND__* combo, int index) {
  if (!WindowModel::IsWindow(combo) || index < 0 || index >= static_cast<int>(combo->ItemHeights.size())) return 0;
  return static_cast<int>(combo->ItemHeights[static_cast<std::size_t>(index)]);
}

// The rows a page key moves over in the list, from its top row as the model keeps it.
EMSCRIPTEN_KEEPALIVE int tavero_list_page_rows(HWND__* combo) {
  return WindowModel::IsWindow(combo) ? WindowModel::ListPageRows(combo) : 1;
}

EMSCRIPTEN_KEEPALIVE const char* tavero_item_name(HWND__* combo, int index) {
  static std::string name;
  name.clear();
  if (WindowModel::IsWindow(combo) && index >= 0 && index < static_cast<int>(combo->Items.size()))
    name = WebPage::ItemName(combo->Items[static_cast<std::size_t>(index)]);
  return name.c_str();
}

// The owner's drawing of item index (-1 with ODS_COMBOBOXEDIT: the selection field) at
// width x height, as RGBA bytes for an ImageData; valid until the next call.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* tavero_draw_item(HWND__* combo, int index, int state, int width, int height) {
  static std::vector<std::uint32_t> pixels;
  pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0x00FFFFFF);
  if (WindowModel::IsWindow(combo) && width > 0 && height > 0)
    WindowModel::DrawItem(combo, index, static_cast<UINT>(state), PixelSurface{pixels.data(), width, height},
                          RECT{0, 0, width, height});
  // 0x00RRGGBB as R, G, B, opaque in memory order.
  for (std::uint32_t& pixel : pixels)
    pixel = ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16) | 0xFF000000u;
  return reinterpret_cast<const std::uint8_t*>(pixels.data());
}

}  // extern "C"
