#pragma once
// The web backend: the window model's windows shown as elements of a page (framework/web/
// page/, reached through library.js), in a browser, compiled with Emscripten. The program runs as a Windows program
// does: one thread that waits in its message loop for what the user did. The page queues each
// user action as an event; the program's modal loops (the editor's, "Shift Data?", a message
// box, the file choice) take the events one at a time and hand them to the model. Waiting
// suspends the program (ASYNCIFY) so the page stays live meanwhile.
//
// What the program (web/) adds beside ui/: commands of the page outside the editor's dialog,
// and how a game text is named for screen readers.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/CString.h"
#include "framework/WinTypes.h"

struct HWND__;

namespace WebPage {

// A control of the page beside the dialog (a button with data-page-command = name) runs run.
void AddPageCommand(const std::string& name, std::function<void()> run);

// The main window's command that opens a file (its file choice then takes the file): a file
// given to the page outside a file choice (dropped, or chosen on the page) runs it.
void SetOpenCommand(UINT id);

// The accessible name of a combo box item's bytes; hex bytes unless the program says better.
void SetItemNamer(std::function<std::string(const std::string& bytes)> name);

// The name a screen reader gives the control or menu command with id, in every dialog, where
// its label or text alone does not say what it is for (the text shown stays).
void SetAccessibleName(UINT id, std::string name);

// Offers bytes to the user as a download named name (the browser's download).
void Download(const std::string& name, const std::vector<std::uint8_t>& bytes, const char* mimeType);

// The file the program holds (its path in the page's files; empty for none), asked when the
// page shows what it holds and when the program ends: "Start it again" loads that file again,
// as the page last read or saved it.
void SetHeldFile(std::function<CString()> held);

// The bytes of the file at path as they were when the user chose it; empty for none.
const std::vector<std::uint8_t>& OriginalBytes(const CString& path);

// --- Inside the backend ---

// Waits for the page's next event and hands it to the model. Events for windows that an open
// modal window disables (as Windows disables a modal dialog's owner) are dropped.
void DispatchNextEvent();
// Runs the events until done() holds.
void RunUntil(const std::function<bool()>& done);
// While one lives, only window and the windows it owns take input, as Windows disables the
// owner of a modal dialog; with null no window does (a message box or the file picker is up).
class InputOnly {
 public:
  explicit InputOnly(HWND__* window);
  ~InputOnly();
  InputOnly(const InputOnly&) = delete;
  InputOnly& operator=(const InputOnly&) = delete;

 private:
  HWND__* Outer;
  bool OuterSet;
};

// The answer to a message box or file choice the page reported (events of its own kind).
struct Answer {
  int Request = 0;
  int Value = 0;
  std::string Text;
};
// The request number for the next message box or file choice, and whether the page has
// answered it (then *answer holds it).
int NewRequest();
bool Answered(int request, Answer* answer);

// A file of the page's the next file choice takes at once (the held file loaded again after a
// restart). Empty when there is none.
CString TakePreselectedFile();
// A file the user gave the page outside a file choice (dropped, or chosen on the page), while
// the open command runs for it: the page's number for it, which the file choice asks the page
// for; 0 when there is none. The page forgets the file when the command does not take it.
int TakeGivenFile();

// The held file's name as the user knows it, "" for none.
CString HeldFileName();
// After the program's main window ended: waits until the user starts it again, then has the
// next main window load the file held at the end (ReopenHeldFile, once it shows).
void AwaitRestart();
void ReopenHeldFile();

std::string ItemName(const std::string& bytes);
// The name set for id; empty for none.
const std::string& AccessibleName(UINT id);

}  // namespace WebPage
