#pragma once
// What a backend over the window model calls. The model implements Backend.h but for what
// ModelBackend.h lists: a backend adds its peers, its modal loop, its message box and its
// resources there, and turns what the user does into the model's user input below.

#include <functional>
#include <string>
#include <vector>

#include "framework/ResourceScript.h"
#include "framework/model/Window.h"

class CDialog;

namespace WindowModel {

// --- Resources ---

// The program's dialogs, menus, icons and name: read once from what the backend gives
// (ModelBackend::ResourceTexts); the tests add templates of their own.
ResourceScript& Resources();

// --- Message boxes ---

// A message box as Windows shows one for an MB_ type.
struct MessageBoxButton {
  int Id;             // IDOK, IDCANCEL, IDYES...
  const char* Label;  // with its & mnemonic
};
struct MessageBoxForm {
  enum class Icon { None, Stop, Question, Warning, Information };
  UINT Type = 0;                          // as asked
  std::vector<MessageBoxButton> Buttons;  // left to right
  int Default = 0;                        // Enter, and the focus as the box opens
  int Escape = 0;                         // Escape and the close box; 0: neither does anything
  Icon Symbol = Icon::None;
};
MessageBoxForm MessageBoxFor(UINT type);

// --- Dialogs ---

// Makes the dialog's window and its controls from the template and attaches dialog; as
// Windows does, measures the selection fields of owner-drawn boxes; lets the backend make its
// peers (mirror may be empty); sends WM_INITDIALOG and on TRUE gives the focus to the first
// tab stop. A dialog without a parent is owned by the main window. Null when the dialog is
// already running.
HWND__* CreateDialogWindow(CDialog& dialog, const DialogTemplate& source, const std::function<void(HWND__*)>& mirror);
// Detaches the objects of the dialog and its controls and forgets the windows.
void DestroyDialogWindow(CDialog& dialog);
// Whether window is one of the open dialogs or one of their controls.
bool IsWindow(const HWND__* window);

// --- What the user does, as the model changes and the notifications Windows sends ---

// A drop-down list opens (CBN_DROPDOWN), or closes without a pick (CBN_SELENDCANCEL, CBN_CLOSEUP).
void UserDropsList(HWND__* combo);
void UserClosesList(HWND__* combo);
// The user settles on item index, with the mouse in the open list or with a key on the
// closed box: the selection, then CBN_SELENDOK, CBN_CLOSEUP if the list was open, CBN_SELCHANGE.
void UserPicks(HWND__* combo, int index);
// A key on a closed list (VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT): the item it
// moves to is picked, also at either end where it stays (the notifications come all the same).
// With no item selected each picks the first (End the last). True when the key was one of these.
bool UserMovesInList(HWND__* combo, int key);
// The focus moves to the window as the dialog manager moves it: an edit reached with Tab
// has its whole text selected.
void UserTabsInto(HWND__* window);
// The focus came to the window by a click or the platform's own means: nothing else changes.
void UserFocuses(HWND__* window);
// Tab (Shift+Tab: backwards): the next tab stop from the focus that takes input, wrapping.
void UserPressesTab(HWND__* dialog, bool backwards);
// The caret and selection of an edit, as the user moved them (no notification).
void UserMovesCaret(HWND__* edit, int start, int end);
// A key typed into an edit where its caret is (WM_CHAR): replaces the selection; '\b' is
// Backspace; an ES_NUMBER edit refuses a key that is not a digit (false).
bool UserTypes(HWND__* edit, char key);
// The edit's whole text replaced by the user's own means (a paste, a cut, an undo): no
// filter, then EN_CHANGE when the text changed.
void UserEdits(HWND__* edit, const std::string& text, int selStart, int selEnd);
// Enter: the default push button's command, else IDOK. Escape: IDCANCEL. The close box (or
// Alt+F4): WM_CLOSE, which a dialog turns into IDCANCEL.
void UserPressesEnter(HWND__* dialog);
void UserPressesEscape(HWND__* dialog);
void UserCloses(HWND__* dialog);
// A push button clicked: BN_CLICKED to its dialog.
void UserClicks(HWND__* button);
// A command of the dialog's menu: WM_COMMAND with the command's id, as the menu posts it.
void UserChoosesCommand(HWND__* dialog, int id);

// The window with the keyboard focus, or null.
HWND__* FocusedWindow();

// --- A drop-down list's metrics, as Windows lays one out for the program's font (measured
// under Wine: a box whose template is 208 pixels high, its field measured 14, is 21 pixels
// high and drops a list 184 pixels high whose 12-pixel items show 15 to a page) ---

int ComboBoxHeight(const HWND__* combo);     // the closed box: its selection field and border
int DroppedListHeight(const HWND__* combo);  // the dropped list, with its 1-pixel border
// The rows the list shows from its top row: what a page key moves over.
int ListPageRows(const HWND__* combo);
// The drop-down button of a closed box, as the backends that draw their own show it: narrower
// than Windows' 17 pixels, so that the widest name (9 glyphs after a 4-pixel margin) shows whole.
constexpr int DropButtonWidth = 12;

// --- Drawing and counting ---

// Asks the combo box's owner to draw item index (or the selection field with
// ODS_COMBOBOXEDIT) into target at where, as the control asks it with WM_DRAWITEM.
void DrawItem(HWND__* combo, int index, UINT state, PixelSurface target, RECT where);

// How many times the framework has asked for a control by id (Backend::DlgItem). On Windows
// each such lookup is a round trip to the system, so none may come per item or per message.
int ControlLookups();

}  // namespace WindowModel
