#pragma once
// Driving the in-memory backend as a user would, for tests: dialog templates, opening a
// dialog, and every input a user gives, through the window model's user input
// (framework/model/WindowModel.h), the path the Qt editor and the web page run: picks and
// keys in lists, Tab, typing, pastes, Enter, Escape, the close box, buttons, menu commands;
// then the items the lists draw, and the modal dialogs and message boxes answered.

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

// Registers the dialogs, menus and icons of a resource script (see ResourceScript.h), with
// the identifiers of its header. Returns false, saying why, otherwise.
bool LoadResourceScript(const std::string& scriptPath, const std::string& headerPath, std::string* error);

// Creates the dialog's window and controls as DoModal would and runs WM_INITDIALOG, without
// a modal loop: the test then drives it. Close destroys the windows and detaches the objects.
bool Open(CDialog& dialog);
void Close(CDialog& dialog);

// The next DoModal runs script on the open dialog in place of the user; when the script
// returns without ending the dialog, the user closes it with the close box (as with no script).
void OnNextModal(std::function<void(CDialog&)> script);
// The next DoModal is answered by clicking the button with that id (IDOK, IDCANCEL).
void AnswerNextModal(int buttonId);
void ClearModalScripts();
int ModalRuns();  // how many DoModal calls ran so far

// --- Lists ---

// The user drops the list of a drop-down box and picks item index with the mouse.
void PickItem(CWnd& dialog, int id, int index);
// The user drops the list, or closes it again without a pick.
void DropList(CWnd& dialog, int id);
void CloseList(CWnd& dialog, int id);
// A key on the closed list (VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT).
void PressListKey(CWnd& dialog, int id, int key);

// --- The focus ---

// The user tabs into the field: it takes the focus with its whole text selected, as the
// dialog manager leaves an edit it moves the focus to.
void TabInto(CWnd& dialog, int id);
// Tab, or Shift+Tab, in the dialog: the next tab stop that takes input.
void PressTab(CWnd& dialog, bool backwards = false);
// The user clicks into the control: it takes the focus, nothing else changes.
void ClickInto(CWnd& dialog, int id);
// The window with the keyboard focus, or null.
HWND__* FocusedWindow();

// --- Edits ---

// The user types text into the field, one key at a time, where its caret is: each key
// replaces the selection, if any. The field takes the focus first (its selection stays).
// An ES_NUMBER field refuses keys that are not digits, as the real control does; '\b' is
// Backspace.
void TypeText(CWnd& dialog, int id, const std::string& text);
// TabInto, then TypeText: the typed text replaces the field's.
void TypeOver(CWnd& dialog, int id, const std::string& text);
// The user pastes text over the whole field: one change, no filtering.
void PasteText(CWnd& dialog, int id, const std::string& text);
// The user moves the caret of the field (a click between two characters), or selects.
void MoveCaret(CWnd& dialog, int id, int start, int end);

// --- The dialog ---

void PressEnter(CWnd& dialog);
void PressEscape(CWnd& dialog);
void PressCloseBox(CWnd& dialog);
// The user clicks the push button with that id.
void PressButton(CWnd& dialog, int id);
// A command of the dialog's menu; IDOK and IDCANCEL are Enter and Escape.
void PressCommand(CWnd& dialog, int id);

HWND__* Control(CWnd& dialog, int id);
// Whether the control takes input (EnableWindow).
bool IsEnabled(CWnd& dialog, int id);

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
// The next message box is answered by clicking this button. With no answer queued, or with
// one the box has no button for, the user presses Escape, or Enter (the default button) where
// Escape does nothing.
void AnswerNextMessageBox(int answer);

// Draws item index of a combo box into target at rect, as the control asks its owner to
// (WM_DRAWITEM, through the model's drawing).
void DrawComboItem(CWnd& dialog, int id, int index, UINT state, RECT rect, HDC target);

// How many times the framework has asked the platform to find a control by id so far. Under
// Wine each such lookup is a server round trip, so none may come per item or per message.
int ControlLookups();

}  // namespace Headless
