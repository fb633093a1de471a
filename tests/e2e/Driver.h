#pragma once
// Drives a running TAVERO.EXE from another process through its real windows, as a user
// would: the editor, the open-file dialog, the "Shift Data?" dialog and message boxes.
// Every wait is bounded and says what it waited for when it gives up.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace E2e {

// A step that cannot go on (a window that never came, a message that got no answer).
struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// One line per check, "ok: ..." or "FAILED: ...".
void Check(bool ok, const std::string& what);
int PassedCount();
int FailedCount();

// Polls until the condition holds; throws a Failure naming what was awaited after the limit.
void WaitUntil(const std::string& what, const std::function<bool()>& condition, DWORD limitMs = 5000, DWORD pollMs = 5);
// The same without the throw: whether the condition came true within the limit.
bool Eventually(const std::function<bool()>& condition, DWORD limitMs = 2000);

double MillisecondsSince(LARGE_INTEGER start);
LARGE_INTEGER Now();

std::string Narrow(const std::wstring& text);  // for messages: one char per unit below 0x80, '?' above
std::wstring Widen(const std::string& ascii);
std::string Hex(const std::wstring& units);  // "8D A8 FF ..."

using Bytes = std::vector<std::uint8_t>;
// The bytes as the W messages carry them: one UTF-16 unit per byte.
std::wstring Units(const Bytes& bytes);

Bytes ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const Bytes& bytes);
// Names the differing offsets (the first few) or says the sizes differ; empty when equal.
std::string Difference(const Bytes& got, const Bytes& expected);

// One run of TAVERO.EXE, ended on every path by the destructor.
class Editor {
 public:
  Editor(const std::wstring& exe, const std::wstring& workingFolder);
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  HWND Window() const { return Main; }
  // From just before the process was created until its main window was seen shown with its
  // controls made (seen by polling every 5 ms).
  double StartMs = 0;
  HWND Control(int id) const;
  DWORD ProcessId() const { return Info.dwProcessId; }
  bool Running() const;
  // Ends the process at once, as a crash or a kill does: nothing asked, nothing saved.
  void Kill();

  // Sent and answered within the limit, or a Failure.
  LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD limitMs = 5000) const;
  void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
  // A menu command, posted as the menu posts it.
  void Command(int id) const;
  // A command that must finish without opening anything: sent, answered within the limit.
  void CommandAnswered(int id, DWORD limitMs = 3000) const;

  std::wstring Text(HWND window) const;  // WM_GETTEXT
  std::wstring FieldText(int id) const { return Text(Control(id)); }
  int Count(int id) const;
  int Selection(int id) const;
  std::wstring Item(int id, int index) const;  // CB_GETLBTEXT, W

  // A mouse pick as far as messages go: the selection, then the box's notifications to the
  // dialog in the order the system sends them.
  void Pick(int id, int index) const;
  // The real mouse, through SendInput: a click on the box's button drops its list; the
  // pointer then moves onto an item, or clicks it.
  HWND MouseDrop(int id) const;
  void PointAt(HWND list, int index, bool click) const;
  void MousePick(int id, int index) const;
  // Focus through the dialog manager, select all, then one WM_CHAR per key. The last key is
  // posted when it is expected to raise a prompt, since a sent one would wait for the prompt.
  void Type(int id, const std::string& keys, bool lastKeyPrompts = false) const;
  // Keys sent to the field as they come, where its caret is, with no focus change or selection.
  void TypeAtCaret(int id, const std::string& keys) const;
  // An edit's selection as EM_GETSEL reports it: (start, end); equal when nothing is selected.
  std::pair<int, int> EditSelection(int id) const;

  // Top-level windows of this process of one class (a combo box's list is a "ComboLBox").
  std::vector<HWND> Windows(const std::string& className, bool visibleOnly) const;
  // Visible dialogs (#32770) of this process other than the editor.
  std::vector<HWND> OtherDialogs() const;
  HWND WaitForDialog(const std::string& what, const std::function<bool(HWND)>& accept, DWORD limitMs = 5000) const;
  // Presses a button as a click does (BM_CLICK, posted) and waits until the dialog is gone.
  void Press(HWND dialog, int buttonId, const std::string& what) const;
  std::wstring StaticTexts(HWND dialog) const;  // every static child's text, joined by '|'

  // The question "Save changes to NAME?": a message box with Yes, No and Cancel.
  HWND WaitForSaveQuestion() const;
  // "&Load" through the real open-file dialog; returns the moment OK was pressed. With
  // unsaved changes, saveAnswer (IDYES, IDNO) answers the question Load asks first.
  LARGE_INTEGER LoadThroughFileDialog(const std::wstring& path, int saveAnswer = 0) const;
  // From that moment until the dialog's window was destroyed (seen by polling every 1 ms);
  // the editor goes on with its command only once the dialog is gone.
  mutable double FileDialogClosedMs = 0;
  mutable HWND FileDialogOwner = nullptr;  // as seen while the dialog was open
  mutable bool EditorEnabledDuringFileDialog = true;

  // Icon answers, asked by a thread that a probe DLL starts inside the editor's process.
  struct IconAnswers {
    std::uint64_t DragIcon = 0, BigIcon = 0, SmallIcon = 0;
  };
  IconAnswers AskIconsFromInside() const;

  // File > Exit; true when the program ended by itself within the limit.
  bool Exit(DWORD limitMs = 3000);
  // The program's exit code once it has ended (STILL_ACTIVE while it runs).
  DWORD ExitCode() const;

 private:
  PROCESS_INFORMATION Info{};
  HWND Main = nullptr;
  void End();
};

// An area of the screen as a 24-bit BMP, once two captures in a row agree and their colours
// (0xRRGGBB) satisfy the caller, or after 3 s. Returns the colours of the capture kept.
std::set<std::uint32_t> CaptureWindowArea(const RECT& area, const std::wstring& bmpPath,
                                          const std::function<bool(const std::set<std::uint32_t>&)>& settled = nullptr);

}  // namespace E2e
