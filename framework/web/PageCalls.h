#pragma once
// The page's functions the program calls, defined in framework/web/library.js (linked into
// tavero.js as an Emscripten JS library). Strings are UTF-8; windows are the model's handles,
// which the page keeps as numbers.

#include <cstdint>

struct HWND__;

extern "C" {

// --- Dialogs and message boxes (Dialogs.cpp) ---

// mainName: the element id of the program's main dialog (the application's name); "" for any
// other dialog. menu: the menu template as JSON (Dialogs.cpp: MenuJson).
void page_create_dialog(HWND__* window, const char* mainName, int templateId, const char* caption, int width,
                        int height, const char* menu);
void page_dialog_text(HWND__* window, const char* text);
void page_show_dialog(HWND__* window);
void page_end_dialog(HWND__* window);
void page_destroy_dialog(HWND__* window);
// Answered later by an AnswerGiven event for request with the button's id. buttons: the
// window model's form as JSON, [[id, "label"], ...] left to right; escapeId 0: Escape does nothing.
void page_message_box(int request, const char* caption, const char* text, const char* buttons, int defaultId,
                      int escapeId, int warning);

// --- Controls (Controls.cpp); kind is a PageProtocol::ElementKind ---

// name: what a screen reader calls it (WebPage::SetAccessibleName); "" for its label's words.
// A combo box's metrics from the window model: its closed box's height, its drop button's
// width and its dropped list's height (0 for other controls).
void page_create_control(HWND__* window, HWND__* dialog, int kind, int id, int x, int y, int width, int height,
                         int style, const char* text, int tabStop, const char* name, int boxHeight, int buttonWidth,
                         int listHeight);
void page_items_changed(HWND__* window, int count);
void page_selection_changed(HWND__* window, int index);
void page_text_changed(HWND__* window, const char* text, int start, int end);
void page_redraw_changed(HWND__* window, int on);
void page_repaint(HWND__* window);
void page_focus(HWND__* window);  // a control, or the dialog itself when none of its controls has it
void page_enabled_changed(HWND__* window, int enabled);

// --- Files ---

// Answered later by an AnswerGiven event for request: IDOK with the file's path, or IDCANCEL.
void page_choose_file(int request, const char* filter);
// The file the page gave as given (OpenFile's number), taken into the program's files now: its
// path there (malloc'd), or null when it is gone or finds no room (the page told the user).
// The page forgets a given file the program does not take.
char* page_take_given_file(int given);
void page_forget_given_file(int given);
// Reads the file at path from disk again into the program's files, where the page holds a
// handle to it (waits): null when done, else why not (malloc'd).
char* page_refresh_file(const char* path);
void page_download(const char* name, const std::uint8_t* bytes, int length, const char* type);
// Writes the bytes out as the page can (waits): null when done, else why not (malloc'd).
char* page_save_file(const char* path, const std::uint8_t* bytes, int length);

// --- The state folder (StateFolder.cpp): text entries kept in the browser's storage ---

// The entry's text (malloc'd), or null when there is none.
char* page_state_read(const char* name);
// 1 when stored, 0 when the browser refused (full, or storage not allowed).
int page_state_write(const char* name, const char* text);
void page_state_remove(const char* name);

// --- The event queue (Events.cpp) ---

// Returns once the page has queued an event (waits, the program suspended, the page live).
void page_wait_for_event();
// Takes the next event: kind, window, a and b into fields[0..3]; its text (malloc'd), or null.
char* page_take_event(int* fields);

void page_program_ended();

}  // extern "C"
