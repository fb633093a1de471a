// Message boxes as Windows makes them: the buttons of the MB_ type, the default button, the
// button Escape and the close box give, and the owner's focus put back once the box is gone.
// Each backend shows the form the model gives (ModelBackend::AskMessageBox).

#include "framework/Backend.h"
#include "framework/model/ModelBackend.h"
#include "framework/model/ModelInternal.h"

namespace WindowModel {

MessageBoxForm MessageBoxFor(UINT type) {
  static constexpr MessageBoxButton Ok{IDOK, "OK"}, Cancel{IDCANCEL, "Cancel"}, Abort{IDABORT, "&Abort"},
      Retry{IDRETRY, "&Retry"}, Ignore{IDIGNORE, "&Ignore"}, Yes{IDYES, "&Yes"}, No{IDNO, "&No"};
  MessageBoxForm form;
  form.Type = type;
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: form.Buttons = {Ok, Cancel}; break;
    case MB_ABORTRETRYIGNORE: form.Buttons = {Abort, Retry, Ignore}; break;
    case MB_YESNOCANCEL: form.Buttons = {Yes, No, Cancel}; break;
    case MB_YESNO: form.Buttons = {Yes, No}; break;
    case MB_RETRYCANCEL: form.Buttons = {Retry, Cancel}; break;
    default: form.Buttons = {Ok}; break;
  }
  // MB_DEFBUTTONn makes the nth button the default; the first is, where there is no nth.
  const std::size_t nth = (type & MB_DEFMASK) >> 8;
  form.Default = (nth < form.Buttons.size() ? form.Buttons[nth] : form.Buttons[0]).Id;
  // Escape (and the close box) answers Cancel where the box has one, OK where OK is its only
  // button, and does nothing otherwise: Windows greys the close box of such a box. (Wine 8
  // answers IDCANCEL to Escape in every box.)
  for (const MessageBoxButton& button : form.Buttons)
    if (button.Id == IDCANCEL) form.Escape = IDCANCEL;
  if (form.Buttons.size() == 1 && form.Buttons[0].Id == IDOK) form.Escape = IDOK;
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: form.Symbol = MessageBoxForm::Icon::Stop; break;
    case MB_ICONQUESTION: form.Symbol = MessageBoxForm::Icon::Question; break;
    case MB_ICONEXCLAMATION: form.Symbol = MessageBoxForm::Icon::Warning; break;
    case MB_ICONASTERISK: form.Symbol = MessageBoxForm::Icon::Information; break;
    default: break;
  }
  return form;
}

}  // namespace WindowModel

namespace Backend {

int ShowMessageBox(HWND owner, const CString& text, const CString& caption, UINT type) {
  HWND__* dialog = owner && owner->ClassName != "#32770" ? owner->Parent : owner;
  HWND__* focused = WindowModel::FocusedWindow();
  const int answer = ModelBackend::AskMessageBox(owner, text.Str(), caption.Str(), WindowModel::MessageBoxFor(type));
  // The owner, active again, has its focus back as the dialog manager restores it.
  if (dialog) WindowModel::Reactivate(dialog, focused);
  return answer;
}

}  // namespace Backend
