#pragma once
// Driving the in-memory backend as a user would, for tests: dialog templates, opening a
// dialog, picking items, typing, menu commands, answering modal dialogs and message boxes.
// The windows are the window model's (framework/model/), which every backend that draws its
// own controls shares: notifications arrive in the order Windows sends them.

#include <functional>
#include <string>
#include <vector>

#include "framework/CDialog.h"
#include "framework/ResourceScript.h"
#include "framework/model/Window.h"

namespace Headless {

using ControlTemplate = ::ControlTemplate;
using DialogTemplate = ::DialogTemplate;

void RegisterTemplate(UINT id, DialogTemplate dialogTemplate);
const DialogTemplate* FindTemplate(UINT id);

// Registers the dialogs of a resource script (see ResourceScript.h), with the identifiers of
// its header. Returns false, saying why, otherwise.
bool LoadResourceScript(const std::string& scriptPath, const std::string& headerPath, std::string* error);

// Creates the dialog's window and controls as DoModal would and runs WM_INITDIALOG, without
// a modal loop: the test then drives it. Close destroys the windows and detaches the objects.
bool Open(CDialog& dialog);
void Close(CDialog& dialog);

// The next DoModal runs script on the open dialog; when the script returns without ending
// the dialog, the user closed it (IDCANCEL). With no script queued DoModal returns IDCANCEL.
void OnNextModal(std::function<void(CDialog&)> script);
// The next DoModal is answered by pressing the button with that id (IDOK, IDCANCEL).
void AnswerNextModal(int buttonId);
void ClearModalScripts();
int ModalRuns();  // how many DoModal calls ran so far

// The user picks item index of a drop-down list with the mouse.
void PickItem(CWnd& dialog, int id, int index);
// The user tabs into the field: it takes the focus with its whole text selected, as the
// dialog manager leaves an edit it moves the focus to.
void TabInto(CWnd& dialog, int id);
// The user types text into the field, one key at a time, where its caret is: each key
// replaces the selection, if any. The field takes the focus first (its selection stays).
// An ES_NUMBER field refuses keys that are not digits, as the real control does; '\b' is
// Backspace.
void TypeText(CWnd& dialog, int id, const std::string& text);
// TabInto, then TypeText: the typed text replaces the field's.
void TypeOver(CWnd& dialog, int id, const std::string& text);
// The user pastes text over the whole field: one change, no filtering.
void PasteText(CWnd& dialog, int id, const std::string& text);
// The window with the keyboard focus, or null.
HWND__* FocusedWindow();
// A menu command, or Enter/Escape (IDOK/IDCANCEL).
void PressCommand(CWnd& dialog, int id);

HWND__* Control(CWnd& dialog, int id);

// Message boxes shown so far: their texts, and each as the user saw and answered it.
struct ShownMessageBox {
  std::string Text;
  std::string Caption;
  UINT Type;   // MB_ buttons and icon
  int Answer;  // IDOK, IDYES, IDNO, IDCANCEL
};
const std::vector<std::string>& MessageBoxes();
const std::vector<ShownMessageBox>& MessageBoxLog();
void ClearMessageBoxes();
// The next message box is answered with this button. With no answer queued a box with only
// OK is answered OK, and any other is closed unanswered (IDCANCEL), as Escape would.
void AnswerNextMessageBox(int answer);

// Draws item index of a combo box through the parent's WM_DRAWITEM, as the control asks
// its owner to, into target at rect.
void DrawComboItem(CWnd& dialog, int id, int index, UINT state, RECT rect, HDC target);

// How many times the framework has asked the platform to find a control by id so far. Under
// Wine each such lookup is a server round trip, so none may come per item or per message.
int ControlLookups();

}  // namespace Headless
