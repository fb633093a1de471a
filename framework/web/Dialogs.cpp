// Modal dialogs and message boxes as elements of the page. The program's main dialog is the
// page's editor (its element named by the application); every other dialog and each message box is a modal <dialog>.
// Each runs its own loop over the page's events until it ends, as a Windows modal loop does.

#include <emscripten.h>

#include <optional>

#include "framework/Backend.h"
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "framework/model/WindowModel.h"
#include "framework/web/PageCalls.h"
#include "framework/web/WebApp.h"
#include "framework/web/WebControls.h"
#include "framework/web/WebPage.h"

namespace {

class DialogPeer : public WindowPeer {
 public:
  explicit DialogPeer(HWND__* window) : Window(window) {}
  void TextChanged() override { page_dialog_text(Window, Window->Text.c_str()); }
  void DialogEnded() override { page_end_dialog(Window); }

 private:
  HWND__* Window;
};

std::string Quoted(const std::string& text) {
  std::string quoted(1, '"');
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + '"';
}

// The menu template as JSON for the page: [{"text": "&File", "items": [...]}, {"text", "id"}],
// a command with an accessible name with its "name" too.
std::string MenuJson(const std::vector<MenuItemTemplate>& items) {
  std::string json = "[";
  for (const MenuItemTemplate& item : items) {
    if (json.size() > 1) json += ',';
    switch (item.Type) {
      case MenuItemTemplate::Kind::Separator: json += "{\"separator\":true}"; break;
      case MenuItemTemplate::Kind::Popup:
        json += "{\"text\":" + Quoted(item.Text) + ",\"items\":" + MenuJson(item.Items) + "}";
        break;
      case MenuItemTemplate::Kind::Command:
        json += "{\"text\":" + Quoted(item.Text) + ",\"id\":" + std::to_string(item.Id);
        if (const std::string& name = WebPage::AccessibleName(item.Id); !name.empty())
          json += ",\"name\":" + Quoted(name);
        json += "}";
        break;
    }
  }
  return json + "]";
}

}  // namespace

namespace Backend {

INT_PTR RunModal(CDialog& dialog) {
  const ResourceScript& resources = WebApp::Resources();
  auto found = resources.Dialogs.find(dialog.TemplateId);
  if (found == resources.Dialogs.end()) return -1;
  const DialogTemplate& source = found->second;
  const bool main = AfxGetMainWnd() == &dialog;
  std::unique_ptr<DialogPeer> peer;
  HWND__* window = WindowModel::CreateDialogWindow(dialog, source, [&](HWND__* made) {
    const auto menu = resources.Menus.find(static_cast<UINT>(source.Menu));
    page_create_dialog(
        made, main ? Backend::ApplicationName().Str().c_str() : "", static_cast<int>(dialog.TemplateId),
        source.Caption.c_str(), made->ClientWidth, made->ClientHeight,
        MenuJson(source.Menu && menu != resources.Menus.end() ? menu->second : std::vector<MenuItemTemplate>{})
            .c_str());
    peer = std::make_unique<DialogPeer>(made);
    made->Peer = peer.get();
    WebControls::CreateControlElements(made);
  });
  if (!window) return -1;
  page_show_dialog(window);
  {
    // Its owner takes no input while it runs, as Windows disables a modal dialog's owner.
    std::optional<WebPage::InputOnly> modal;
    if (!main) modal.emplace(window);
    WebPage::RunUntil([window] { return window->Ended; });
  }
  const INT_PTR result = window->Result;
  page_destroy_dialog(window);
  WebControls::ForgetControlPeers(window);
  window->Peer = nullptr;
  WindowModel::DestroyDialogWindow(dialog);
  return result;
}

int ShowMessageBox(HWND owner, const CString& text, const CString& caption, UINT type) {
  (void)owner;  // the page's message box is modal to the whole page
  const int request = WebPage::NewRequest();
  page_message_box(request, caption.Str().c_str(), text.Str().c_str(), static_cast<int>(type));
  const WebPage::InputOnly none(nullptr);  // the box is modal to the whole page
  WebPage::Answer answer;
  WebPage::RunUntil([&] { return WebPage::Answered(request, &answer); });
  return answer.Value;
}

}  // namespace Backend
