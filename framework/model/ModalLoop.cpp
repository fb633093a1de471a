// The modal loop of a dialog made from the program's resources, as DoModal runs it: the
// window and its controls from the template, the backend's peers, the backend's loop until
// EndDialog, then the owner active again with its focus back.

#include <cstdio>

#include "framework/Backend.h"
#include "framework/CDialog.h"
#include "framework/model/ModelBackend.h"
#include "framework/model/ModelInternal.h"

namespace WindowModel {

ResourceScript& Resources() {
  static ResourceScript* script = [] {
    auto* read = new ResourceScript;  // for the whole run: dialogs are made from it until exit
    std::string text, header, error;
    if (ModelBackend::ResourceTexts(&text, &header) && !read->Read(text, header, &error))
      std::fprintf(stderr, "the program's resources cannot be read: %s\n", error.c_str());
    return read;
  }();
  return *script;
}

}  // namespace WindowModel

namespace Backend {

INT_PTR RunModal(CDialog& dialog) {
  const auto& dialogs = WindowModel::Resources().Dialogs;
  const auto found = dialogs.find(dialog.TemplateId);
  if (found == dialogs.end()) return -1;
  HWND__* ownerFocus = WindowModel::FocusedWindow();
  HWND__* window = WindowModel::CreateDialogWindow(dialog, found->second,
                                                   [&](HWND__* made) { ModelBackend::MakePeers(made, found->second); });
  if (!window) return -1;
  if (!window->Ended) ModelBackend::RunModalLoop(window);  // EndDialog may have come during WM_INITDIALOG
  const INT_PTR result = window->Ended ? window->Result : IDCANCEL;
  HWND__* owner = window->Parent;
  ModelBackend::DropPeers(window);
  WindowModel::DestroyDialogWindow(dialog);
  if (owner) WindowModel::Reactivate(owner, ownerFocus);
  return result;
}

void EndModal(CDialog& dialog, int result) {
  HWND__* window = dialog.m_hWnd;
  if (!window) return;
  window->Ended = true;
  window->Result = result;
  if (window->Peer) window->Peer->DialogEnded();
}

}  // namespace Backend
