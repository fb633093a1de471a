// Modal dialogs and message boxes as elements of the page. The program's main dialog is the
// page's editor (its element named by the application); every other dialog and each message box is a modal <dialog>.
// Each runs its own loop over the page's events until it ends, as a Windows modal loop does.

#include <emscripten.h>

#include <map>
#include <memory>
#include <optional>

#include "framework/Backend.h"
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "framework/model/ModelBackend.h"
#include "framework/web/PageCalls.h"
#include "framework/web/WebControls.h"
#include "framework/web/WebPage.h"

namespace {

class DialogPeer : public WindowPeer {
 public:
  explicit DialogPeer(HWND__* window) : Window(window) {}
  void TextChanged() override { page_dialog_text(Window, Window->Text.c_str()); }
  void DialogEnded() override { page_end_dialog(Window); }
  void FocusTaken() override { page_focus(Window); }  // no control takes the focus

 private:
  HWND__* Window;
};

std::map<HWND__*, std::unique_ptr<DialogPeer>> DialogPeers;  // of the open dialogs

// The program's main dialog is the page's editor; every other is a modal <dialog>.
bool IsMain(const HWND__* dialog) { return AfxGetMainWnd() == dialog->Dialog; }

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

namespace ModelBackend {

void MakePeers(HWND__* dialog, const DialogTemplate& source) {
  const auto& menus = WindowModel::Resources().Menus;
  const auto menu = menus.find(static_cast<UINT>(source.Menu));
  page_create_dialog(
      dialog, IsMain(dialog) ? Backend::ApplicationName().Str().c_str() : "",
      static_cast<int>(dialog->Dialog->TemplateId), source.Caption.c_str(), dialog->ClientWidth, dialog->ClientHeight,
      MenuJson(source.Menu && menu != menus.end() ? menu->second : std::vector<MenuItemTemplate>{}).c_str());
  DialogPeers[dialog] = std::make_unique<DialogPeer>(dialog);
  dialog->Peer = DialogPeers[dialog].get();
  WebControls::CreateControlElements(dialog);
}

void RunModalLoop(HWND__* dialog) {
  page_show_dialog(dialog);
  // Its owner takes no input while it runs, as Windows disables a modal dialog's owner.
  std::optional<WebPage::InputOnly> modal;
  if (!IsMain(dialog)) modal.emplace(dialog);
  if (IsMain(dialog)) WebPage::ReopenHeldFile();  // after a restart
  WebPage::RunUntil([dialog] { return dialog->Ended; });
}

void DropPeers(HWND__* dialog) {
  page_destroy_dialog(dialog);
  WebControls::ForgetControlPeers(dialog);
  dialog->Peer = nullptr;
  DialogPeers.erase(dialog);
}

int AskMessageBox(HWND__*, const std::string& text, const std::string& caption,
                  const WindowModel::MessageBoxForm& form) {
  // The page's message box is modal to the whole page.
  const int request = WebPage::NewRequest();
  std::string buttons = "[";  // [[id, "label"], ...], left to right
  for (const WindowModel::MessageBoxButton& button : form.Buttons)
    buttons += (buttons.size() > 1 ? ",[" : "[") + std::to_string(button.Id) + "," + Quoted(button.Label) + "]";
  buttons += "]";
  page_message_box(request, caption.c_str(), text.c_str(), buttons.c_str(), form.Default, form.Escape,
                   form.Symbol == WindowModel::MessageBoxForm::Icon::Warning ? 1 : 0);
  const WebPage::InputOnly none(nullptr);
  WebPage::Answer answer;
  WebPage::RunUntil([&] { return WebPage::Answered(request, &answer); });
  return answer.Value;
}

}  // namespace ModelBackend
