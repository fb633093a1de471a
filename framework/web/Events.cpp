// The program's side of the page's event queue: each event the page queued for what the user
// did becomes the model's user input (framework/model/WindowModel.h), or the answer to a
// message box or a file choice, or a page command.

#include <emscripten.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <utility>

#include "framework/Backend.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/model/WindowModel.h"
#include "framework/web/PageCalls.h"
#include "framework/web/PageProtocol.h"
#include "framework/web/WebApp.h"
#include "framework/web/WebPage.h"

namespace {

using PageProtocol::EventKind;

struct Event {
  EventKind Kind{};
  HWND__* Window = nullptr;
  int A = 0;
  int B = 0;
  std::string Text;
};

Event NextEvent() {
  WebApp::FilesMayChange();
  page_wait_for_event();
  int fields[4] = {};
  char* text = page_take_event(fields);
  Event event{static_cast<EventKind>(fields[0]),
              reinterpret_cast<HWND__*>(static_cast<std::uintptr_t>(fields[1])),
              fields[2],
              fields[3],
              {}};
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
int GivenFile = 0;  // the page's number for a file given outside a file choice, until taken
UINT OpenCommand = 0;
std::function<CString()>& HeldFile() {
  static std::function<CString()> held;  // set by the program's static initialisers
  return held;
}
bool RestartAsked = false;
CString Reopen;  // the file to load once the main window shows again
std::map<UINT, std::string>& AccessibleNames() {
  static std::map<UINT, std::string> names;  // set by the program's static initialisers
  return names;
}
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
    case EventKind::AnswerGiven: Answers[event.A] = {event.A, event.B, event.Text}; return;
    case EventKind::PageCommand: {
      // Only while the program runs: once it ended, what it held is no longer the user's work.
      CWnd* main = AfxGetMainWnd();
      if (auto found = PageCommands().find(event.Text);
          found != PageCommands().end() && !ModalSet && main && main->m_hWnd)
        found->second();
      return;
    }
    case EventKind::OpenFile: {
      // As the program's command that opens a file, whose file choice takes this one. Until
      // then the file waits on the page: the command may ask about unsaved changes first.
      CWnd* main = AfxGetMainWnd();
      const int outer = std::exchange(GivenFile, event.A);  // one given while a question is open
      if (!ModalSet && OpenCommand && main && main->m_hWnd)
        main->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(OpenCommand), 0), 0);
      if (GivenFile) page_forget_given_file(GivenFile);  // not taken: cancelled, or no window to take it
      GivenFile = outer;
      return;
    }
    case EventKind::Restart: RestartAsked = true; return;
    default: break;
  }
  HWND__* window = event.Window;
  if (!TakesInput(window)) return;  // gone, or disabled by a modal window
  switch (event.Kind) {
    case EventKind::Command: WindowModel::UserChoosesCommand(window, event.A); break;
    case EventKind::Pick: WindowModel::UserPicks(window, event.A); break;
    case EventKind::Drop: WindowModel::UserDropsList(window); break;
    case EventKind::CloseList: WindowModel::UserClosesList(window); break;
    case EventKind::ListKey: WindowModel::UserMovesInList(window, event.A); break;
    case EventKind::Type: WindowModel::UserTypes(window, static_cast<char>(event.A)); break;
    case EventKind::Caret: WindowModel::UserMovesCaret(window, event.A, event.B); break;
    case EventKind::Edited: WindowModel::UserEdits(window, event.Text, event.A, event.B); break;
    case EventKind::Focus: WindowModel::UserFocuses(window); break;
    case EventKind::Enter: WindowModel::UserPressesEnter(window); break;
    case EventKind::Escape: WindowModel::UserPressesEscape(window); break;
    case EventKind::Click: WindowModel::UserClicks(window); break;
    case EventKind::Close: WindowModel::UserCloses(window); break;
    default: break;
  }
}

}  // namespace

namespace WebPage {

void AddPageCommand(const std::string& name, std::function<void()> run) { PageCommands()[name] = std::move(run); }

void SetOpenCommand(UINT id) { OpenCommand = id; }

void SetItemNamer(std::function<std::string(const std::string&)> name) { Namer() = std::move(name); }

void SetAccessibleName(UINT id, std::string name) { AccessibleNames()[id] = std::move(name); }

const std::string& AccessibleName(UINT id) {
  static const std::string none;
  const auto found = AccessibleNames().find(id);
  return found == AccessibleNames().end() ? none : found->second;
}

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

int TakeGivenFile() { return std::exchange(GivenFile, 0); }

void SetHeldFile(std::function<CString()> held) { HeldFile() = std::move(held); }

CString HeldFileName() { return HeldFile() ? WebApp::Files().ShownPath(HeldFile()()) : CString(); }

void AwaitRestart() {
  const CString held = HeldFile() ? HeldFile()() : CString();
  RestartAsked = false;
  RunUntil([] { return RestartAsked; });
  Reopen = held;
}

void ReopenHeldFile() {
  CWnd* main = AfxGetMainWnd();
  if (Reopen.IsEmpty() || !OpenCommand || !main || !main->m_hWnd) return;
  Preselected = std::exchange(Reopen, CString());
  main->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(OpenCommand), 0), 0);
  Preselected.Empty();
}

}  // namespace WebPage

// The held file's name as the user knows it ("" while none is held): the page's title shows it.
extern "C" EMSCRIPTEN_KEEPALIVE const char* tavero_held_file_name() {
  static std::string name;
  name = WebPage::HeldFileName().Str();
  return name.c_str();
}
