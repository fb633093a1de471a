// The controls of a dialog as elements of the page: each window of the model has a peer that
// tells the page what changed (the element then shows the model's state), and the page asks
// back here for what it draws: an item's pixels, its height, its name for screen readers.

#include <emscripten.h>

#include <memory>
#include <vector>

#include "framework/model/WindowModel.h"
#include "framework/web/PageCalls.h"
#include "framework/web/PageProtocol.h"
#include "framework/web/WebControls.h"
#include "framework/web/WebPage.h"

namespace {

class ControlPeer : public WindowPeer {
 public:
  explicit ControlPeer(HWND__* window) : Window(window) {}
  void ItemsChanged() override { page_items_changed(Window, static_cast<int>(Window->Items.size())); }
  void SelectionChanged() override { page_selection_changed(Window, Window->Selection); }
  void TextChanged() override { page_text_changed(Window, Window->Text.c_str(), Window->SelStart, Window->SelEnd); }
  void RedrawChanged() override { page_redraw_changed(Window, Window->Redraw ? 1 : 0); }
  void Repaint() override { page_repaint(Window); }
  void FocusTaken() override { page_focus(Window); }

 private:
  HWND__* Window;
};

std::vector<std::unique_ptr<ControlPeer>> Peers;  // of the open dialogs' controls

PageProtocol::ElementKind KindOf(const HWND__* window) {
  using PageProtocol::ElementKind;
  if (window->ClassName == "ComboBox") return ElementKind::Combo;
  if (window->ClassName == "Edit") return ElementKind::Edit;
  if (window->ClassName == "Button") return ElementKind::Button;
  return ElementKind::Static;
}

}  // namespace

namespace WebControls {

void CreateControlElements(HWND__* dialog) {
  for (auto& child : dialog->Children) {
    HWND__* window = child.get();
    page_create_control(window, dialog, static_cast<int>(KindOf(window)), window->Id, window->Area.left,
                        window->Area.top, window->Area.right - window->Area.left,
                        window->Area.bottom - window->Area.top, static_cast<int>(window->Style), window->Text.c_str(),
                        (window->Style & WS_TABSTOP) ? 1 : 0,
                        WebPage::AccessibleName(static_cast<UINT>(window->Id)).c_str());
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
    WindowModel::DrawItem(combo, index, static_cast<UINT>(state), PixelSurface{pixels.data(), width, height});
  // 0x00RRGGBB as R, G, B, opaque in memory order.
  for (std::uint32_t& pixel : pixels)
    pixel = ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16) | 0xFF000000u;
  return reinterpret_cast<const std::uint8_t*>(pixels.data());
}

}  // extern "C"
