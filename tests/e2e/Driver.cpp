#include "Driver.h"

#include <cstdio>
#include <set>

#include "Probe.h"
#include "res/resource.h"
#include "tests/wine/MouseInput.h"

namespace E2e {
namespace {
int Passed = 0;
int Failed = 0;

std::string ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return Narrow(name);
}

// Top-level windows of one process that pass a test, in z-order.
std::vector<HWND> TopLevelWindows(DWORD processId, const std::function<bool(HWND)>& accept) {
  struct Search {
    DWORD ProcessId;
    const std::function<bool(HWND)>* Accept;
    std::vector<HWND> Found;
  } search{processId, &accept, {}};
  EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto* s = reinterpret_cast<Search*>(context);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s->ProcessId && (*s->Accept)(window)) s->Found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM context) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The edit inside the open-file dialog's file-name box (ComboBoxEx32 > ComboBox > Edit).
HWND FileNameEdit(HWND dialog) {
  HWND box = GetDlgItem(dialog, 0x47C);
  if (!box) return nullptr;
  for (HWND child : Descendants(box))
    if (ClassOf(child) == "Edit" && IsWindowVisible(child)) return child;
  return nullptr;
}

bool IsVisibleDialog(HWND window) { return IsWindowVisible(window) && ClassOf(window) == "#32770"; }

HANDLE KillOnCloseJob() {
  static HANDLE job = [] {
    HANDLE created = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (created) SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return created;
  }();
  return job;
}

std::vector<std::uint8_t> CaptureOnce(const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<std::uint8_t> pixels;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file holds it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib && bits) {
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* begin = static_cast<const std::uint8_t*>(bits);
    pixels.assign(begin, begin + static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    SelectObject(memory, old);
    DeleteObject(dib);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}
}  // namespace

void Check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
  std::fflush(stdout);
  ++(ok ? Passed : Failed);
}

int PassedCount() { return Passed; }
int FailedCount() { return Failed; }

LARGE_INTEGER Now() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return now;
}

double MillisecondsSince(LARGE_INTEGER start) {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(Now().QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void WaitUntil(const std::string& what, const std::function<bool()>& condition, DWORD limitMs, DWORD pollMs) {
  const ULONGLONG deadline = GetTickCount64() + limitMs;
  while (!condition()) {
    if (GetTickCount64() > deadline) throw Failure("waited " + std::to_string(limitMs) + " ms in vain for " + what);
    Sleep(pollMs);
  }
}

bool Eventually(const std::function<bool()>& condition, DWORD limitMs) {
  const ULONGLONG deadline = GetTickCount64() + limitMs;
  while (!condition()) {
    if (GetTickCount64() > deadline) return false;
    Sleep(5);
  }
  return true;
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::string Hex(const std::wstring& units) {
  std::string out;
  char part[8];
  for (wchar_t c : units) {
    std::snprintf(part, sizeof part, "%s%02X", out.empty() ? "" : " ", static_cast<unsigned>(c));
    out += part;
  }
  return out;
}

std::wstring Units(const Bytes& bytes) {
  std::wstring units;
  for (std::uint8_t b : bytes) units += static_cast<wchar_t>(b);
  return units;
}

Bytes ReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw Failure("cannot open " + Narrow(path) + " to read it back");
  LARGE_INTEGER size{};
  GetFileSizeEx(file, &size);
  Bytes bytes(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  const BOOL read = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(file);
  if (!read || got != bytes.size()) throw Failure("cannot read " + Narrow(path) + " back");
  return bytes;
}

void WriteFileBytes(const std::wstring& path, const Bytes& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw Failure("cannot create " + Narrow(path));
  DWORD put = 0;
  const BOOL written = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(file);
  if (!written || put != bytes.size()) throw Failure("cannot write " + Narrow(path));
}

std::string Difference(const Bytes& got, const Bytes& expected) {
  if (got.size() != expected.size())
    return "the file has " + std::to_string(got.size()) + " bytes, not " + std::to_string(expected.size());
  std::string out;
  std::size_t differing = 0;
  char part[64];
  for (std::size_t i = 0; i < got.size(); ++i) {
    if (got[i] == expected[i]) continue;
    if (++differing <= 8) {
      std::snprintf(part, sizeof part, "%s0x%zX: %02X not %02X", out.empty() ? "" : ", ", i, got[i], expected[i]);
      out += part;
    }
  }
  if (differing > 8) out += ", ... (" + std::to_string(differing) + " bytes differ)";
  return out;
}

Editor::Editor(const std::wstring& exe, const std::wstring& workingFolder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring commandLine = L"\"" + exe + L"\"";
  const LARGE_INTEGER launched = Now();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      workingFolder.c_str(), &startup, &Info))
    throw Failure("cannot start " + Narrow(exe) + " (error " + std::to_string(GetLastError()) + ")");
  // Should this driver die without ending it, the system ends the editor with the job.
  AssignProcessToJobObject(KillOnCloseJob(), Info.hProcess);
  ResumeThread(Info.hThread);
  try {
    // The dialog can be listed before its controls exist: wait for the last one.
    WaitUntil(
        "the editor window (caption \"TAVERO\", visible, controls made) of process " + std::to_string(Info.dwProcessId),
        [&] {
          if (!Running()) throw Failure("the editor ended before its window showed");
          std::vector<HWND> found = TopLevelWindows(Info.dwProcessId, [](HWND window) {
            wchar_t caption[32] = {};
            GetWindowTextW(window, caption, 32);
            return IsVisibleDialog(window) && std::wstring(caption) == L"TAVERO" &&
                   GetDlgItem(window, IDC_RATE6) != nullptr;
          });
          if (found.empty()) return false;
          Main = found.front();
          return true;
        },
        10000);
    StartMs = MillisecondsSince(launched);
  } catch (...) {
    End();
    throw;
  }
}

Editor::~Editor() { End(); }

bool Editor::Running() const { return Info.hProcess && WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT; }

void Editor::Kill() {
  if (Running()) TerminateProcess(Info.hProcess, 9);
  End();
}

void Editor::End() {
  if (!Info.hProcess) return;
  if (Running() && Main && OtherDialogs().empty()) {
    PostMessageW(Main, WM_COMMAND, MAKEWPARAM(ID_FILE_EXIT, 0), 0);
    WaitForSingleObject(Info.hProcess, 2000);
  }
  if (Running()) {
    TerminateProcess(Info.hProcess, 1);
    WaitForSingleObject(Info.hProcess, 5000);
  }
  CloseHandle(Info.hThread);
  CloseHandle(Info.hProcess);
  Info = {};
  Main = nullptr;
}

HWND Editor::Control(int id) const {
  HWND control = GetDlgItem(Main, id);
  if (!control) throw Failure("the editor has no control " + std::to_string(id));
  return control;
}

LRESULT Editor::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD limitMs) const {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, limitMs, &result)) {
    char what[128];
    std::snprintf(what, sizeof what, "message 0x%X to window %d (id %d) got no answer within %lu ms", message,
                  static_cast<int>(reinterpret_cast<std::intptr_t>(window)), GetDlgCtrlID(window), limitMs);
    throw Failure(what);
  }
  return static_cast<LRESULT>(result);
}

void Editor::Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
  if (!PostMessageW(window, message, wParam, lParam)) throw Failure("cannot post a message to the editor");
}

void Editor::Command(int id) const { Post(Main, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void Editor::CommandAnswered(int id, DWORD limitMs) const { Send(Main, WM_COMMAND, MAKEWPARAM(id, 0), 0, limitMs); }

std::wstring Editor::Text(HWND window) const {
  const auto length = static_cast<std::size_t>(Send(window, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  const auto got =
      static_cast<std::size_t>(Send(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data())));
  text.resize(got < length ? got : length);
  return text;
}

int Editor::Count(int id) const { return static_cast<int>(Send(Control(id), CB_GETCOUNT, 0, 0)); }
int Editor::Selection(int id) const { return static_cast<int>(Send(Control(id), CB_GETCURSEL, 0, 0)); }

std::wstring Editor::Item(int id, int index) const {
  HWND box = Control(id);
  const LRESULT length = Send(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) throw Failure("box " + std::to_string(id) + " has no item " + std::to_string(index));
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT got = Send(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got >= 0 && got < length ? static_cast<std::size_t>(got) : static_cast<std::size_t>(length));
  return text;
}

void Editor::Pick(int id, int index) const {
  HWND box = Control(id);
  if (Send(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0) != index)
    throw Failure("box " + std::to_string(id) + " refused item " + std::to_string(index));
  for (int code : {CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE})
    Send(Main, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(box));
}

HWND Editor::MouseDrop(int id) const {
  HWND box = Control(id);
  RECT frame{};
  GetWindowRect(box, &frame);
  const int fieldHeight = static_cast<int>(Send(box, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  MouseInput::ClickAt({frame.right - 6, frame.top + (fieldHeight + 6) / 2});  // the drop-down button
  // The box takes the mouse on the press and hands it to its list on the release; input sent
  // before that would go to the box, which takes a click as "close the list".
  HWND list = nullptr;
  WaitUntil("the list of box " + std::to_string(id) + " to drop down and hold the mouse after a click on its button",
            [&] {
              std::vector<HWND> lists = Windows("ComboLBox", true);
              if (lists.empty() || !Send(box, CB_GETDROPPEDSTATE, 0, 0)) return false;
              GUITHREADINFO gui{};
              gui.cbSize = sizeof gui;
              GetGUIThreadInfo(GetWindowThreadProcessId(Main, nullptr), &gui);
              list = lists.front();
              return gui.hwndCapture == list;
            });
  return list;
}

void Editor::PointAt(HWND list, int index, bool click) const {
  const int top = static_cast<int>(Send(list, LB_GETTOPINDEX, 0, 0));
  const int height = static_cast<int>(Send(list, LB_GETITEMHEIGHT, static_cast<WPARAM>(index), 0));
  RECT client{};
  GetClientRect(list, &client);
  POINT item{client.right / 3, (index - top) * height + height / 2};
  if (item.y < 0 || item.y >= client.bottom)
    throw Failure("item " + std::to_string(index) + " is not in view in the dropped list (top " + std::to_string(top) +
                  ")");
  ClientToScreen(list, &item);
  if (click) {
    MouseInput::ClickAt(item);
  } else {
    MouseInput::MoveTo({item.x + 2, item.y});  // from aside, so that the pointer really moves onto the item
    MouseInput::MoveTo(item);
  }
}

void Editor::MousePick(int id, int index) const {
  PointAt(MouseDrop(id), index, true);
  WaitUntil("the list of box " + std::to_string(id) + " to close after a click on item " + std::to_string(index),
            [&] { return Send(Control(id), CB_GETDROPPEDSTATE, 0, 0) == 0; });
}

void Editor::Type(int id, const std::string& keys, bool lastKeyPrompts) const {
  HWND edit = Control(id);
  Send(Main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
  Send(edit, EM_SETSEL, 0, -1);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const auto key = static_cast<WPARAM>(static_cast<unsigned char>(keys[i]));
    if (lastKeyPrompts && i + 1 == keys.size())
      Post(edit, WM_CHAR, key, 1);
    else
      Send(edit, WM_CHAR, key, 1);
  }
}

void Editor::TypeAtCaret(int id, const std::string& keys) const {
  for (char key : keys) Send(Control(id), WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(key)), 1);
}

std::pair<int, int> Editor::EditSelection(int id) const {
  const auto both = static_cast<DWORD>(Send(Control(id), EM_GETSEL, 0, 0));
  return {LOWORD(both), HIWORD(both)};
}

std::vector<HWND> Editor::Windows(const std::string& className, bool visibleOnly) const {
  return TopLevelWindows(Info.dwProcessId, [&](HWND window) {
    return (!visibleOnly || IsWindowVisible(window)) && ClassOf(window) == className;
  });
}

std::vector<HWND> Editor::OtherDialogs() const {
  return TopLevelWindows(Info.dwProcessId, [&](HWND window) { return window != Main && IsVisibleDialog(window); });
}

HWND Editor::WaitForDialog(const std::string& what, const std::function<bool(HWND)>& accept, DWORD limitMs) const {
  HWND found = nullptr;
  WaitUntil(
      what,
      [&] {
        if (!Running()) throw Failure("the editor ended while waiting for " + what);
        for (HWND dialog : OtherDialogs())
          if (accept(dialog)) {
            found = dialog;
            return true;
          }
        return false;
      },
      limitMs);
  return found;
}

void Editor::Press(HWND dialog, int buttonId, const std::string& what) const {
  HWND button = GetDlgItem(dialog, buttonId);
  if (!button) throw Failure(what + " has no button " + std::to_string(buttonId));
  Post(button, BM_CLICK, 0, 0);
  WaitUntil(what + " to close after its button " + std::to_string(buttonId) + " was pressed",
            [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

std::wstring Editor::StaticTexts(HWND dialog) const {
  std::wstring texts;
  for (HWND child : Descendants(dialog)) {
    if (ClassOf(child) != "Static") continue;
    std::wstring text = Text(child);
    if (text.empty()) continue;
    texts += (texts.empty() ? L"" : L"|") + text;
  }
  return texts;
}

HWND Editor::WaitForSaveQuestion() const {
  return WaitForDialog("the question \"Save changes to ...?\"", [](HWND dialog) {
    return GetDlgItem(dialog, IDYES) && GetDlgItem(dialog, IDNO) && GetDlgItem(dialog, IDCANCEL);
  });
}

LARGE_INTEGER Editor::LoadThroughFileDialog(const std::wstring& path, int saveAnswer) const {
  Command(ID_FILE_LOAD);  // posted: it opens a modal dialog
  if (saveAnswer) Press(WaitForSaveQuestion(), saveAnswer, "the question about unsaved changes");
  HWND dialog = WaitForDialog("the open-file dialog (a dialog with a file-name box 0x47C)",
                              [](HWND window) { return FileNameEdit(window) && GetDlgItem(window, IDOK); });
  HWND edit = FileNameEdit(dialog);
  FileDialogOwner = GetWindow(dialog, GW_OWNER);
  EditorEnabledDuringFileDialog = IsWindowEnabled(Main) != FALSE;
  WaitForInputIdle(Info.hProcess, 2000);  // the dialog may still be setting up its fields
  std::wstring typed;
  for (int attempt = 1; attempt <= 3 && typed != path; ++attempt) {
    if (attempt > 1) std::printf("note: the file-name box read \"%s\"; typing again\n", Narrow(typed).c_str());
    Send(edit, EM_SETSEL, 0, -1);
    for (wchar_t c : path) Send(edit, WM_CHAR, c, 1);
    typed = Text(edit);
  }
  if (typed != path) throw Failure("the file-name box reads \"" + Narrow(typed) + "\" after typing " + Narrow(path));
  const LARGE_INTEGER pressed = Now();
  Post(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  // Hidden is not gone: Wine takes another 10-25 ms to destroy the dialog after hiding it.
  WaitUntil(
      "the open-file dialog to be destroyed after OK", [&] { return !IsWindow(dialog); }, 5000, 1);
  FileDialogClosedMs = MillisecondsSince(pressed);
  return pressed;
}

Editor::IconAnswers Editor::AskIconsFromInside() const {
  wchar_t name[64];
  Probe::MappingName(name, Info.dwProcessId);
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Probe::Answer), name);
  if (!mapping) throw Failure("cannot make the probe's mapping");
  auto* answer = static_cast<Probe::Answer*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Probe::Answer)));
  void* remotePath = nullptr;
  HANDLE thread = nullptr;
  auto release = [&] {
    if (thread) CloseHandle(thread);
    if (remotePath) VirtualFreeEx(Info.hProcess, remotePath, 0, MEM_RELEASE);
    if (answer) UnmapViewOfFile(answer);
    CloseHandle(mapping);
  };
  try {
    if (!answer) throw Failure("cannot map the probe's mapping");
    *answer = {};
    // The probe beside this program, loaded by LoadLibraryW on a thread of the editor.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dll = self;
    dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + Probe::DllName;
    const SIZE_T bytes = (dll.size() + 1) * sizeof(wchar_t);
    remotePath = VirtualAllocEx(Info.hProcess, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remotePath || !WriteProcessMemory(Info.hProcess, remotePath, dll.c_str(), bytes, nullptr))
      throw Failure("cannot hand the probe's path to the editor's process");
    auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
    thread = CreateRemoteThread(Info.hProcess, nullptr, 0, loadLibrary, remotePath, 0, nullptr);
    if (!thread) throw Failure("cannot start a thread in the editor's process");
    if (WaitForSingleObject(thread, 5000) != WAIT_OBJECT_0) throw Failure("the probe did not load within 5000 ms");
    DWORD loaded = 0;
    GetExitCodeThread(thread, &loaded);
    if (!loaded) throw Failure("the editor's process could not load " + Narrow(dll));
    WaitUntil("the probe's answers", [&] { return answer->Done != 0; });
    if (answer->Done != 1) throw Failure("the probe found no editor window in its process");
    IconAnswers answers;
    answers.DragIcon = answer->DragIcon;
    answers.BigIcon = answer->BigIcon;
    answers.SmallIcon = answer->SmallIcon;
    release();
    return answers;
  } catch (...) {
    release();
    throw;
  }
}

DWORD Editor::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (Info.hProcess) GetExitCodeProcess(Info.hProcess, &code);
  return code;
}

bool Editor::Exit(DWORD limitMs) {
  Command(ID_FILE_EXIT);
  return WaitForSingleObject(Info.hProcess, limitMs) == WAIT_OBJECT_0;
}

namespace {
std::set<std::uint32_t> ColoursOf(const std::vector<std::uint8_t>& pixels, int width, int height) {
  const int stride = (width * 3 + 3) & ~3;
  std::set<std::uint32_t> colours;
  if (pixels.empty()) return colours;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = pixels.data() + y * stride + x * 3;
      colours.insert(static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16));
    }
  return colours;
}
}  // namespace

std::set<std::uint32_t> CaptureWindowArea(const RECT& area, const std::wstring& bmpPath,
                                          const std::function<bool(const std::set<std::uint32_t>&)>& settled) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) throw Failure("nothing to capture: the area is empty");
  // Painting and the flush to the screen happen when they happen: capture until two captures
  // in a row agree and show what the caller waits for, or the time is up (then the last one
  // is kept, for the caller's check to fail on and for a person to look at).
  std::vector<std::uint8_t> pixels = CaptureOnce(area);
  std::set<std::uint32_t> colours;
  Eventually(
      [&] {
        Sleep(100);
        std::vector<std::uint8_t> again = CaptureOnce(area);
        const bool same = again == pixels && !again.empty();
        pixels = std::move(again);
        if (!same) return false;
        colours = ColoursOf(pixels, width, height);
        return !settled || settled(colours);
      },
      3000);
  if (colours.empty()) colours = ColoursOf(pixels, width, height);

  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(pixels.size());
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  Bytes bytes(reinterpret_cast<const std::uint8_t*>(&file), reinterpret_cast<const std::uint8_t*>(&file) + sizeof file);
  bytes.insert(bytes.end(), reinterpret_cast<const std::uint8_t*>(&info),
               reinterpret_cast<const std::uint8_t*>(&info) + sizeof info);
  bytes.insert(bytes.end(), pixels.begin(), pixels.end());
  WriteFileBytes(bmpPath, bytes);

  return colours;
}

}  // namespace E2e
