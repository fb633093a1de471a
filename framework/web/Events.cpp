// The program's side of the page's event queue: each event the page queued for what the user
// did becomes the model's user input (framework/model/WindowModel.h), or the answer to a
// message box or a file choice, or a page command.

#include <emscripten.h>

#include <cstdlib>
#include <map>
#include <memory>

#include "framework/Backend.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/model/WindowModel.h"
#include "framework/web/WebPage.h"

namespace {

// The kinds of event page.js queues (TaveroPage.Event there).
enum Kind {
  Command = 1,       // window, id: a menu command
  Pick = 2,          // combo, index
  Drop = 3,          // combo
  CloseList = 4,     // combo
  ListKey = 5,       // combo, virtual key
  Type = 6,          // edit, character
  Caret = 7,         // edit, start, end (UTF-8 bytes)
  Edited = 8,        // edit, start, end, text
  Focus = 9,         // window
  Enter = 10,        // dialog
  Escape = 11,       // dialog
  Click = 12,        // button
  Close = 13,        // dialog
  AnswerGiven = 14,  // request, value, text
  PageCommand = 15,  // text: the command's name
  OpenFile = 16,     // a: the Load command's id, text: the path of a file opened outside a Load
};

struct Event {
  int Kind = 0;
  HWND__* Window = nullptr;
  int A = 0;
  int B = 0;
  std::string Text;
};

// The page's JavaScript, which the formatter would take for C++ ("===" became "== =").
// clang-format off
// The next event; waits (the program suspended, the page live) while there is none.
EM_ASYNC_JS(void, WaitForEvent, (), { await TaveroPage.waitForEvent(); });
// Takes the next event's numbers into fields and returns its text (malloc'd, or 0).
EM_JS(char*, TakeEvent, (int* fields), {
  const event = TaveroPage.takeEvent();
  HEAP32[(fields >> 2) + 0] = event.kind;
  HEAP32[(fields >> 2) + 1] = event.window || 0;
  HEAP32[(fields >> 2) + 2] = event.a || 0;
  HEAP32[(fields >> 2) + 3] = event.b || 0;
  return event.text === undefined ? 0 : allocateUTF8(event.text);
});
// clang-format on

Event NextEvent() {
  WaitForEvent();
  int fields[4] = {};
  char* text = TakeEvent(fields);
  Event event{fields[0], reinterpret_cast<HWND__*>(static_cast<std::uintptr_t>(fields[1])), fields[2], fields[3], {}};
  if (text) {
    event.Text = text;
    std::free(text);
  }
  return event;
}

// Input goes only to this window and its own while ModalSet (see InputOnly); to none when null.
HWND__* Modal = nullptr;
bool ModalSet = false;
std::map<std::string, std::function<void()>>& PageCommands() {
  static std::map<std::string, std::function<void()>> commands;
  return commands;
}
std::map<int, WebPage::Answer> Answers;
int Requests = 0;
CString Preselected;
std::function<std::string(const std::string&)>& Namer() {
  static std::function<std::string(const std::string&)> name;  // set by the program's static initialisers
  return name;
}

// A window that takes input now: alive, and with a modal window open, it or one of its own.
bool TakesInput(HWND__* window) {
  if (!WindowModel::IsWindow(window)) return false;
  if (!ModalSet) return true;
  for (HWND__* at = window; at; at = at->Parent)
    if (at == Modal) return true;
  return false;
}

void Dispatch(const Event& event) {
  switch (event.Kind) {
    case AnswerGiven: Answers[event.A] = {event.A, event.B, event.Text}; return;
    case PageCommand:
      if (auto found = PageCommands().find(event.Text); found != PageCommands().end() && !ModalSet) found->second();
      return;
    case OpenFile: {
      // As a Load of this file: the main window's Load command, whose file choice takes it.
      CWnd* main = AfxGetMainWnd();
      if (ModalSet || !main || !main->m_hWnd) return;
      Preselected = CString(event.Text);
      main->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(event.A), 0), 0);
      Preselected.Empty();
      return;
    }
    default: break;
  }
  HWND__* window = event.Window;
  if (!TakesInput(window)) return;  // gone, or disabled by a modal window
  switch (event.Kind) {
    case Command: WindowModel::UserChoosesCommand(window, event.A); break;
    case Pick: WindowModel::UserPicks(window, event.A); break;
    case Drop: WindowModel::UserDropsList(window); break;
    case CloseList: WindowModel::UserClosesList(window); break;
    case ListKey: WindowModel::UserMovesInList(window, event.A); break;
    case Type: WindowModel::UserTypes(window, static_cast<char>(event.A)); break;
    case Caret: WindowModel::UserMovesCaret(window, event.A, event.B); break;
    case Edited: WindowModel::UserEdits(window, event.Text, event.A, event.B); break;
    case Focus: WindowModel::UserFocuses(window); break;
    case Enter: WindowModel::UserPressesEnter(window); break;
    case Escape: WindowModel::UserPressesEscape(window); break;
    case Click: WindowModel::UserClicks(window); break;
    case Close: WindowModel::UserCloses(window); break;
    default: break;
  }
}

}  // namespace

namespace WebPage {

void AddPageCommand(const std::string& name, std::function<void()> run) { PageCommands()[name] = std::move(run); }

void SetItemNamer(std::function<std::string(const std::string&)> name) { Namer() = std::move(name); }

std::string ItemName(const std::string& bytes) {
  if (Namer()) return Namer()(bytes);
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char byte : bytes) {
    if (!hex.empty()) hex += ' ';
    hex += digits[byte >> 4];
    hex += digits[byte & 15];
  }
  return hex;
}

void DispatchNextEvent() { Dispatch(NextEvent()); }

void RunUntil(const std::function<bool()>& done) {
  while (!done()) DispatchNextEvent();
}

InputOnly::InputOnly(HWND__* window) : Outer(Modal), OuterSet(ModalSet) {
  Modal = window;
  ModalSet = true;
}

InputOnly::~InputOnly() {
  Modal = Outer;
  ModalSet = OuterSet;
}

int NewRequest() { return ++Requests; }

bool Answered(int request, Answer* answer) {
  auto found = Answers.find(request);
  if (found == Answers.end()) return false;
  *answer = found->second;
  Answers.erase(found);
  return true;
}

CString TakePreselectedFile() {
  CString file = Preselected;
  Preselected.Empty();
  return file;
}

}  // namespace WebPage
