// Modal dialogs and message boxes as elements of the page. The program's main dialog is the
// page's editor (id TAVERO); every other dialog and each message box is a modal <dialog>.
// Each runs its own loop over the page's events until it ends, as a Windows modal loop does.

#include <emscripten.h>

#include <map>
#include <memory>
#include <optional>

#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "framework/model/ModelBackend.h"
#include "framework/web/WebControls.h"
#include "framework/web/WebPage.h"

namespace {

// The page's JavaScript, which the formatter would take for C++ ("===" became "== =").
// clang-format off
EM_JS(void, PageCreateDialog,
      (HWND__ * window, int main, int templateId, const char* caption, int width, int height, const char* menu), {
        TaveroPage.createDialog(window, main != 0, templateId, UTF8ToString(caption), width, height,
                                JSON.parse(UTF8ToString(menu)));
      });
EM_JS(void, PageDialogText, (HWND__ * window, const char* text),
      { TaveroPage.dialogText(window, UTF8ToString(text)); });
EM_JS(void, PageShowDialog, (HWND__ * window), { TaveroPage.showDialog(window); });
EM_JS(void, PageFocusDialog, (HWND__ * window), { TaveroPage.focus(window); });
EM_JS(void, PageEndDialog, (HWND__ * window), { TaveroPage.endDialog(window); });
EM_JS(void, PageDestroyDialog, (HWND__ * window), { TaveroPage.destroyDialog(window); });
EM_JS(void, PageMessageBox,
      (int request, const char* caption, const char* text, const char* buttons, int defaultId, int escapeId,
       int warning),
      {
        TaveroPage.messageBox(request, UTF8ToString(caption), UTF8ToString(text), JSON.parse(UTF8ToString(buttons)),
                              defaultId, escapeId, warning != 0);
      });
// clang-format on

class DialogPeer : public WindowPeer {
 public:
  explicit DialogPeer(HWND__* window) : Window(window) {}
  void TextChanged() override { PageDialogText(Window, Window->Text.c_str()); }
  void DialogEnded() override { PageEndDialog(Window); }
  void FocusTaken() override { PageFocusDialog(Window); }  // no control takes the focus

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

// The menu template as JSON for the page: [{"text": "&File", "items": [...]}, {"text", "id"}].
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
        json += "{\"text\":" + Quoted(item.Text) + ",\"id\":" + std::to_string(item.Id) + "}";
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
  PageCreateDialog(
      dialog, IsMain(dialog) ? 1 : 0, static_cast<int>(dialog->Dialog->TemplateId), source.Caption.c_str(),
      dialog->ClientWidth, dialog->ClientHeight,
      MenuJson(source.Menu && menu != menus.end() ? menu->second : std::vector<MenuItemTemplate>{}).c_str());
  DialogPeers[dialog] = std::make_unique<DialogPeer>(dialog);
  dialog->Peer = DialogPeers[dialog].get();
  WebControls::CreateControlElements(dialog);
}

void RunModalLoop(HWND__* dialog) {
  PageShowDialog(dialog);
  // Its owner takes no input while it runs, as Windows disables a modal dialog's owner.
  std::optional<WebPage::InputOnly> modal;
  if (!IsMain(dialog)) modal.emplace(dialog);
  WebPage::RunUntil([dialog] { return dialog->Ended; });
}

void DropPeers(HWND__* dialog) {
  PageDestroyDialog(dialog);
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
  PageMessageBox(request, caption.c_str(), text.c_str(), buttons.c_str(), form.Default, form.Escape,
                 form.Symbol == WindowModel::MessageBoxForm::Icon::Warning ? 1 : 0);
  const WebPage::InputOnly none(nullptr);
  WebPage::Answer answer;
  WebPage::RunUntil([&] { return WebPage::Answered(request, &answer); });
  return answer.Value;
}

}  // namespace ModelBackend
