// Runs one game-text combo box in a real dialog under Win32 (Wine here) and checks what the
// system makes of the framework's routing: the selection field paints from the glyph sheet,
// MeasureItem sets the item heights, every item byte 0x01..0xFF comes back, a handler's
// answer reaches the system, a mouse pick notifies in the order the editor relies on, a fill
// with redraw off keeps styles and heights, the framework asks the system for a control only
// once, and a nested dialog is owned by the main window. Ends with "N passed, N failed".

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "MouseInput.h"
#include "combo_smoke_ids.h"
#include "framework/CDataExchange.h"
#include "framework/CDialog.h"
#include "framework/CMemoryDC.h"
#include "framework/CWinApp.h"
#include "framework/win32/Utf16.h"
#include "render/CGameTextComboBox.h"
#include "render/GlyphSheetLayout.h"
#include "render/SheetBuilder.h"
#include "rom/CRomImage.h"
#include "rom/GameText.h"
#include "rom/RomLayout.h"
#include "tools/SampleImage.h"

namespace {
int Passed = 0;
int Failed = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
  std::fflush(stdout);
  ++(ok ? Passed : Failed);
}

const char* NotificationName(UINT code) {
  switch (code) {
    case CBN_SELCHANGE: return "CBN_SELCHANGE";
    case CBN_DBLCLK: return "CBN_DBLCLK";
    case CBN_SETFOCUS: return "CBN_SETFOCUS";
    case CBN_KILLFOCUS: return "CBN_KILLFOCUS";
    case CBN_DROPDOWN: return "CBN_DROPDOWN";
    case CBN_CLOSEUP: return "CBN_CLOSEUP";
    case CBN_SELENDOK: return "CBN_SELENDOK";
    case CBN_SELENDCANCEL: return "CBN_SELENDCANCEL";
    default: return "other";
  }
}

POINT CentreOnScreen(HWND window, const RECT& client) {
  POINT centre{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
  ClientToScreen(window, &centre);
  return centre;
}

// The program's calls of GetDlgItem, counted by pointing its import of the function at a
// counter. Under Wine each call is a server round trip: none may come per item or per message.
int DlgItemLookups = 0;
using GetDlgItemFunction = HWND(WINAPI*)(HWND, int);
GetDlgItemFunction SystemGetDlgItem = nullptr;

HWND WINAPI CountedGetDlgItem(HWND dialog, int id) {
  ++DlgItemLookups;
  return SystemGetDlgItem(dialog, id);
}

bool CountGetDlgItemCalls() {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); dll->Name; ++dll) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + dll->Name), "user32.dll") != 0 || !dll->OriginalFirstThunk)
      continue;
    auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
    auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
    for (; name->u1.AddressOfData; ++name, ++slot) {
      if (name->u1.Ordinal & IMAGE_ORDINAL_FLAG) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "GetDlgItem") != 0) continue;
      DWORD protection = 0;
      if (!VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection)) return false;
      SystemGetDlgItem = reinterpret_cast<GetDlgItemFunction>(slot->u1.Function);
      slot->u1.Function = reinterpret_cast<ULONG_PTR>(&CountedGetDlgItem);
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
      return true;
    }
  }
  return false;
}

constexpr UINT_PTR StepTimer = 1;
constexpr int StepMilliseconds = 50;
constexpr int StepPatience = 100;  // ticks a step may wait for the system (5 s)
constexpr int PickIndex = 2;
}  // namespace

// Records how the selection field was last drawn, then draws as the editor does.
class CSmokeBox : public CGameTextComboBox {
 public:
  void DrawItem(LPDRAWITEMSTRUCT item) override {
    if (item->itemState & ODS_COMBOBOXEDIT) {
      FieldRect = item->rcItem;
      FieldItem = static_cast<int>(item->itemID);
      ++FieldDraws;
    }
    CGameTextComboBox::DrawItem(item);
  }

  RECT FieldRect{};
  int FieldItem = -1;
  int FieldDraws = 0;
};

// Opened from the main dialog without a parent: the main window must own it and be disabled.
class CNestedDlg : public CDialog {
 public:
  CNestedDlg() : CDialog(IDD_SMOKE) {}

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_INITDIALOG) SetTimer(m_hWnd, StepTimer, StepMilliseconds, nullptr);
    if (message == WM_TIMER && wParam == StepTimer) {
      KillTimer(m_hWnd, StepTimer);
      Owner = GetWindow(m_hWnd, GW_OWNER);
      OwnerEnabled = Owner && ::IsWindowEnabled(Owner);
      PostMessageW(m_hWnd, WM_CLOSE, 0, 0);  // the dialog manager turns it into IDCANCEL
      return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
  }

  HWND Owner = nullptr;
  bool OwnerEnabled = true;
};

class CSmokeDlg : public CDialog {
 public:
  CSmokeDlg() : CDialog(IDD_SMOKE) {}

  CSmokeBox Box;
  HICON Icon = nullptr;
  bool InitSeen = false;
  bool MeasuredBeforeInit = false;  // WM_MEASUREITEM reached the object before WM_INITDIALOG
  int OfferedFieldHeight = -1;      // the height WM_MEASUREITEM offered, for the selection field
  int OfferedItemHeight = -1;       // and for a list item
  std::vector<UINT> Notifications;  // the box's notifications, as the dialog received them
  int SelchangeCount = 0;
  int RememberedAtSelchange = -2;
  int SelendokAtParent = 0;

  void DoDataExchange(CDataExchange* exchange) override { DDX_Control(exchange, IDC_COMBO, Box); }

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    BuildSheets(*this, g_rom);
    for (int i = 0; i < RomLayout::EsperNameCount; ++i) Box.AddString(g_rom.EsperNames[static_cast<std::size_t>(i)]);
    Box.SelectRemember(0);
    Icon = AfxGetApp()->LoadIcon(IDI_SMOKE);
    SetTimer(m_hWnd, StepTimer, StepMilliseconds, nullptr);
    return TRUE;
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_INITDIALOG) InitSeen = true;
    if (message == WM_MEASUREITEM && !InitSeen) MeasuredBeforeInit = true;
    if (message == WM_MEASUREITEM) {  // what the system offers before the owner answers
      const auto* measure = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
      (measure->itemID == static_cast<UINT>(-1) ? OfferedFieldHeight : OfferedItemHeight) =
          static_cast<int>(measure->itemHeight);
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_COMBO && lParam) Notifications.push_back(HIWORD(wParam));
    if (message == WM_TIMER && wParam == StepTimer) {
      RunStep();
      return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
  }

  void OnSelchangeCombo() {
    ++SelchangeCount;
    RememberedAtSelchange = Box.RememberedIndex;
  }
  void OnSelendokCombo() { ++SelendokAtParent; }
  HCURSOR OnQueryDragIcon() { return static_cast<HCURSOR>(Icon); }

 private:
  std::size_t StepIndex = 0;
  int Tick = 0;

  void RunStep() {
    using Step = bool (CSmokeDlg::*)(int tick);  // true when done
    static constexpr Step Steps[] = {&CSmokeDlg::PaintStep, &CSmokeDlg::AnswerStep,     &CSmokeDlg::DropStep,
                                     &CSmokeDlg::PickStep,  &CSmokeDlg::KeysStep,       &CSmokeDlg::DisabledStep,
                                     &CSmokeDlg::BytesStep, &CSmokeDlg::MessageBoxStep, &CSmokeDlg::NestedStep};
    if (StepIndex == std::size(Steps)) {
      KillTimer(m_hWnd, StepTimer);
      EndDialog(IDOK);
      return;
    }
    bool done = (this->*Steps[StepIndex])(Tick++);
    if (!done && Tick > StepPatience) {
      Check(false, "step " + std::to_string(StepIndex + 1) + " waited in vain for the system");
      done = true;
    }
    if (done) {
      ++StepIndex;
      Tick = 0;
    }
  }

  // The selection field, read back from the screen, holds the glyph cells of the name.
  bool PaintStep(int) {
    UpdateWindow(m_hWnd);
    if (Box.FieldDraws == 0) return false;
    Check(MeasuredBeforeInit, "WM_MEASUREITEM before WM_INITDIALOG already reached the dialog object");
    // The window model of the other backends offers the same (framework/model/).
    Check(OfferedFieldHeight == 14 && OfferedItemHeight == 16,
          "WM_MEASUREITEM offers the owner 14 for the selection field and 16 for an item before it answers (" +
              std::to_string(OfferedFieldHeight) + ", " + std::to_string(OfferedItemHeight) + ")");
    Check(Box.FieldItem == 0, "the selection field draws the first esper");

    RECT client{};
    GetClientRect(Box.m_hWnd, &client);
    CMemoryDC capture;
    capture.CreateCompatibleDC(nullptr);
    capture.Bitmap.CreateCompatibleBitmap(&capture, client.right, client.bottom);
    capture.SelectObject(&capture.Bitmap);
    {
      CClientDC shown(&Box);
      capture.BitBlt(0, 0, client.right, client.bottom, &shown, 0, 0, SRCCOPY);
    }

    const RECT& field = Box.FieldRect;
    const COLORREF background = SchemeColours(ColourScheme::Normal)[0];
    Check(capture.GetPixel(field.left + 1, field.top + 1) == background,
          "the selection field is filled with the normal background");

    const CString& name = g_rom.EsperNames[0];
    int compared = 0, wrong = 0, inked = 0;
    int x = field.left + 4;
    const int y = field.top + 3 + 4;
    const int start = name.GetLength() > 0 && name.GetAt(0) == GameText::SkippedLead ? 1 : 0;
    for (int i = start; i < name.GetLength() && x + GlyphSize <= field.right && y + GlyphSize <= field.bottom;
         ++i, x += GlyphSize) {
      const CellOrigin cell = GlyphCell(name.GetAt(i), ColourScheme::Normal);
      for (int dy = 0; dy < GlyphSize; ++dy)
        for (int dx = 0; dx < GlyphSize; ++dx) {
          COLORREF want = g_rom.GlyphSheet.GetPixel(cell.x + dx, cell.y + dy);
          inked += want != background;
          wrong += capture.GetPixel(x + dx, y + dy) != want;
        }
      ++compared;
    }
    Check(compared >= 3 && inked > 0 && wrong == 0,
          "the selection field shows the glyph cells of the name (" + std::to_string(compared) + " glyphs, " +
              std::to_string(inked) + " ink pixels, " + std::to_string(wrong) + " differ; field " +
              std::to_string(field.left) + "," + std::to_string(field.top) + "-" + std::to_string(field.right) + "," +
              std::to_string(field.bottom) + ")");
    return true;
  }

  // Answers given by handlers reach the system.
  bool AnswerStep(int) {
    int wrongHeights = 0;
    for (int i = 0; i < Box.GetCount(); ++i)
      wrongHeights += ::SendMessageW(Box.m_hWnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0) != 12;
    Check(Box.GetCount() == RomLayout::EsperNameCount && wrongHeights == 0,
          "every list item is 12 pixels high, as MeasureItem said");
    LRESULT icon = ::SendMessageW(m_hWnd, WM_QUERYDRAGICON, 0, 0);
    Check(Icon && icon == reinterpret_cast<LRESULT>(Icon), "WM_QUERYDRAGICON answers with the handler's icon");
    return true;
  }

  bool DropStep(int tick) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(Box.m_hWnd, &info);
    if (tick == 0) {
      Notifications.clear();
      SetForegroundWindow(m_hWnd);
      MouseInput::MoveTo(CentreOnScreen(Box.m_hWnd, info.rcButton));
    } else if (tick == 1) {
      MouseInput::Click();
    }
    return tick > 1 && ::SendMessageW(Box.m_hWnd, CB_GETDROPPEDSTATE, 0, 0);
  }

  bool PickStep(int tick) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(Box.m_hWnd, &info);
    if (tick == 0) {
      RECT item{};
      ::SendMessageW(info.hwndList, LB_GETITEMRECT, PickIndex, reinterpret_cast<LPARAM>(&item));
      MouseInput::MoveTo(CentreOnScreen(info.hwndList, item));
    } else if (tick == 1) {
      MouseInput::Click();
    }
    if (tick < 2 || ::SendMessageW(Box.m_hWnd, CB_GETDROPPEDSTATE, 0, 0)) return false;

    std::string order;
    for (UINT code : Notifications) order += std::string(order.empty() ? "" : ", ") + NotificationName(code);
    std::printf("notifications of a mouse pick, as the dialog got them: %s\n", order.c_str());
    Check(Box.GetCurSel() == PickIndex, "the picked item is selected");
    Check(Box.RememberedIndex == PickIndex, "the reflected CBN_SELENDOK remembered the picked item");
    Check(SelchangeCount == 1 && RememberedAtSelchange == PickIndex,
          "the dialog's CBN_SELCHANGE handler ran once, with the pick already remembered");
    Check(SelendokAtParent == 0, "CBN_SELENDOK, handled by the box, did not reach the dialog's handler");
    return true;
  }

  // The window model's rules for a closed list's keys (framework/model/): a page is the rows the
  // dropped list shows (8 of 12 pixels in this box's 106, the box itself 21 high); PageDown goes
  // to the page's last row, then a page on; PageUp to its first, then a page back; each key
  // notifies, also at the list's end; an index past the list clears the selection.
  bool KeysStep(int) {
    RECT box{};
    GetWindowRect(Box.m_hWnd, &box);
    std::string seen;
    Notifications.clear();
    for (int key : {VK_HOME, VK_NEXT, VK_NEXT, VK_PRIOR, VK_PRIOR, VK_PRIOR}) {
      ::SendMessageW(Box.m_hWnd, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
      seen += ' ';
      seen += std::to_string(Box.GetCurSel());
    }
    Check(seen == " 0 7 14 7 0 0", "Home, PageDown twice, PageUp thrice on the closed list select" + seen);
    Check(Notifications.size() == 12 && Notifications[10] == CBN_SELENDOK && Notifications[11] == CBN_SELCHANGE,
          "each key notifies CBN_SELENDOK, CBN_SELCHANGE, also at the list's end (" +
              std::to_string(Notifications.size()) + " notifications)");
    ::SendMessageW(Box.m_hWnd, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(Box.m_hWnd, &info);
    RECT list{};
    GetWindowRect(info.hwndList, &list);
    ::SendMessageW(Box.m_hWnd, CB_SHOWDROPDOWN, FALSE, 0);
    Check(box.bottom - box.top == 21 && list.bottom - list.top == 106,
          "the closed box is 21 pixels high, its dropped list 106 (" + std::to_string(box.bottom - box.top) + ", " +
              std::to_string(list.bottom - list.top) + ")");
    Box.SetCurSel(3);
    Box.SetCurSel(999);
    Check(Box.GetCurSel() == CB_ERR, "SetCurSel past the list clears the selection");
    Box.SetCurSel(PickIndex);
    return true;
  }

  // A disabled control, as the window model has it: the focus it had goes to no window, SetFocus
  // on it fails, Tab passes it by, a click does not drop its list.
  bool DisabledStep(int tick) {
    HWND edit = FindWindowExW(m_hWnd, nullptr, L"Edit", nullptr);  // not counted as a lookup
    if (tick == 0) {
      Box.SetFocus();
      Box.EnableWindow(FALSE);
      Check(GetFocus() == nullptr, "disabling the control with the focus leaves the focus with no window");
      Box.SetFocus();
      Check(GetFocus() == nullptr, "a disabled control does not take the focus");
      Check(GetNextDlgTabItem(m_hWnd, nullptr, FALSE) == edit && GetNextDlgTabItem(m_hWnd, edit, FALSE) == edit,
            "Tab passes the disabled box by");
      Notifications.clear();
      COMBOBOXINFO info{};
      info.cbSize = sizeof info;
      GetComboBoxInfo(Box.m_hWnd, &info);
      SetForegroundWindow(m_hWnd);
      MouseInput::ClickAt(CentreOnScreen(Box.m_hWnd, info.rcButton));
      return false;
    }
    if (tick < 6) return false;  // time for the click to arrive
    Check(!::SendMessageW(Box.m_hWnd, CB_GETDROPPEDSTATE, 0, 0) && Notifications.empty(),
          "a click on the disabled box drops nothing and notifies nothing");
    Box.EnableWindow(TRUE);
    return true;
  }

  // Message boxes as the window model makes them, where Wine shows them as Windows does: the
  // default button (the first, or MB_DEFBUTTONn's) takes Enter and has the focus, Escape gives
  // Cancel. (Wine answers Escape with IDCANCEL in a box without Cancel too, where Windows
  // answers OK for MB_OK and nothing for MB_YESNO: printed, not checked.)
  static void CALLBACK PressInMessageBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND focus = GetFocus();
    wchar_t name[16] = {};
    if (focus) GetClassNameW(GetParent(focus), name, 16);
    if (focus && std::wstring(name) == L"#32770") PostMessageW(focus, WM_KEYDOWN, BoxKey, 0);
  }
  static inline WPARAM BoxKey = 0;

  bool MessageBoxStep(int) {
    KillTimer(m_hWnd, StepTimer);  // the box runs its own loop
    struct Case {
      UINT Type;
      WPARAM Key;
      int Expected;  // 0: printed only
      const char* What;
    };
    const Case cases[] = {{MB_OKCANCEL, VK_RETURN, IDOK, "MB_OKCANCEL: Enter gives OK"},
                          {MB_OKCANCEL, VK_ESCAPE, IDCANCEL, "MB_OKCANCEL: Escape gives Cancel"},
                          {MB_YESNOCANCEL, VK_RETURN, IDYES, "MB_YESNOCANCEL: Enter gives Yes"},
                          {MB_YESNOCANCEL | MB_DEFBUTTON2, VK_RETURN, IDNO, "MB_DEFBUTTON2: Enter gives No"},
                          {MB_YESNOCANCEL, VK_ESCAPE, IDCANCEL, "MB_YESNOCANCEL: Escape gives Cancel"},
                          {MB_OK, VK_ESCAPE, 0, "MB_OK: Escape (Windows: OK)"},
                          {MB_YESNO, VK_ESCAPE, 0, "MB_YESNO: Escape (Windows: nothing)"}};
    for (const Case& c : cases) {
      BoxKey = c.Key;
      const UINT_PTR timer = SetTimer(nullptr, 0, 100, &PressInMessageBox);
      const int answer = ::MessageBoxW(m_hWnd, L"?", L"Combo smoke", c.Type);
      KillTimer(nullptr, timer);
      if (c.Expected)
        Check(answer == c.Expected, std::string(c.What) + " (" + std::to_string(answer) + ")");
      else
        std::printf("%s: Wine answers %d\n", c.What, answer);
    }
    SetTimer(m_hWnd, StepTimer, StepMilliseconds, nullptr);
    return true;
  }

  // Every byte 0x01..0xFF survives the control, alone and all in one item. The box is filled
  // as Load fills: redraw off, then on again and one repaint.
  bool BytesStep(int) {
    const LONG style = GetWindowLongW(Box.m_hWnd, GWL_STYLE);
    const int lookups = DlgItemLookups;
    Box.SetRedraw(FALSE);
    Box.ResetContent();
    std::string all;
    for (int b = 1; b <= 255; ++b) all += static_cast<char>(b);
    Box.AddString(CString(all));
    for (int b = 1; b <= 255; ++b) Box.AddString(CString(std::string(1, static_cast<char>(b))));
    Box.SetRedraw(TRUE);
    Box.Invalidate();
    Check(Box.GetCount() == 256, "256 items added");
    Check(DlgItemLookups == lookups, "adding 256 owner-drawn items asked the system for no control (" +
                                         std::to_string(DlgItemLookups - lookups) + " GetDlgItem calls)");
    int wrongHeights = 0;
    for (int i = 0; i < 256; ++i)
      wrongHeights += ::SendMessageW(Box.m_hWnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0) != 12;
    Check(wrongHeights == 0, "with redraw off every item added is still measured 12 high");
    const LONG styleAfter = GetWindowLongW(Box.m_hWnd, GWL_STYLE);
    char styles[64];
    std::snprintf(styles, sizeof styles, "0x%08lX, then 0x%08lX", static_cast<unsigned long>(style),
                  static_cast<unsigned long>(styleAfter));
    Check(styleAfter == style,
          std::string("redraw off and on again leaves the box's style bits as they were (") + styles + ")");

    CString back;
    Box.GetLBText(0, back);
    Check(back == CString(all), "an item of all 255 bytes comes back unchanged");
    int wrong = 0;
    for (int b = 1; b <= 255; ++b) {
      Box.GetLBText(b, back);
      wrong += !(back == CString(std::string(1, static_cast<char>(b))));
    }
    Check(wrong == 0, "each single-byte item comes back unchanged (" + std::to_string(wrong) + " differ)");

    std::wstring units(256, L'\0');
    ::SendMessageW(Box.m_hWnd, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(units.data()));
    bool oneUnitPerByte = true;
    for (int b = 1; b <= 255; ++b) oneUnitPerByte &= units[static_cast<std::size_t>(b - 1)] == static_cast<wchar_t>(b);
    Check(oneUnitPerByte, "the control holds each byte as the UTF-16 unit of the same value");

    char bytes[256] = {};
    LRESULT length = Box.SendMessage(CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(bytes));
    Check(length == 255 && all == std::string(bytes, 255), "CB_GETLBTEXT through the framework gives the bytes");

    Box.GetLBText(999, back);
    Check(back.IsEmpty(), "an index past the list gives an empty text");

    Box.SelectRemember(1);
    const int draws = Box.FieldDraws;
    UpdateWindow(Box.m_hWnd);
    Check(Box.FieldDraws > draws && Box.FieldItem == 1, "with redraw on again the box repaints its selection field");
    return true;
  }

  bool NestedStep(int) {
    KillTimer(m_hWnd, StepTimer);  // the nested dialog runs its own loop
    CNestedDlg nested;
    INT_PTR result = nested.DoModal();
    SetTimer(m_hWnd, StepTimer, StepMilliseconds, nullptr);
    Check(result == IDCANCEL, "WM_CLOSE ends a dialog with IDCANCEL through its message map");
    Check(nested.Owner == m_hWnd && !nested.OwnerEnabled,
          "a dialog without a parent is owned by the main window, which it disables");
    Check(::IsWindowEnabled(m_hWnd) != FALSE, "the main window is enabled again afterwards");
    Check(nested.m_hWnd == nullptr, "the nested dialog's object is detached when its window is gone");
    return true;
  }

  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSmokeDlg, CDialog)
  ON_CBN_SELCHANGE(IDC_COMBO, OnSelchangeCombo)
  TAVERO_MAP_ENTRY(WM_COMMAND, CBN_SELENDOK, IDC_COMBO, OnSelendokCombo)
  ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

class CSmokeApp : public CWinApp {
 public:
  BOOL InitInstance() override;
};

// In this order, as the editor defines them.
CSmokeApp theApp;
CRomImage g_rom;

namespace {
// A sample image in a temporary file, loaded the way the editor's Load command does.
bool LoadSampleImage(std::wstring& file) {
  wchar_t folder[MAX_PATH + 1] = {};
  wchar_t name[MAX_PATH + 1] = {};
  if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"smk", 0, name)) return false;
  file = name;
  const CString path = NarrowToUtf8(file);
  std::string error;
  if (!SampleImage::WriteFile(path.Str(), SampleImage::Make({}), &error)) {
    std::printf("%s\n", error.c_str());
    return false;
  }
  g_rom.SetPath(path);
  return g_rom.LoadImage();
}
}  // namespace

BOOL CSmokeApp::InitInstance() {
  const bool counting = CountGetDlgItemCalls();
  Check(counting, "the program's GetDlgItem calls can be counted");
  std::wstring file;
  bool loaded = LoadSampleImage(file);
  Check(loaded, "a sample image loads" + (loaded ? std::string() : ": " + g_rom.ErrorText.Str()));
  if (loaded) {
    CSmokeDlg dialog;
    m_pMainWnd = &dialog;
    INT_PTR result = dialog.DoModal();
    m_pMainWnd = nullptr;
    Check(result == IDOK, "the dialog ran to its end");
    Check(dialog.m_hWnd == nullptr && dialog.Box.m_hWnd == nullptr,
          "the dialog and box objects are detached afterwards");
    // Fault: a lookup per WM_MEASUREITEM, per drawn item of the dropped list, or per exchange.
    Check(counting && DlgItemLookups == 1,
          "over the whole run the framework asked the system for a control once, "
          "when the dialog attached its box (" +
              std::to_string(DlgItemLookups) + ")");
  }
  if (!file.empty()) DeleteFileW(file.c_str());
  std::printf("%d passed, %d failed\n", Passed, Failed);
  std::fflush(stdout);
  std::exit(Failed == 0 ? 0 : 1);  // the framework's Run always reports 0
}
