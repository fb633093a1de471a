// End-to-end tests of the real TAVERO.EXE: each scenario starts the program in a folder of
// generated images, drives it from outside through its windows and messages as a user
// would, and reads back what it shows and what it writes. Ends with "N passed, N failed".
//   tavero_e2e [PATH\TAVERO.EXE]   (default: ..\..\ui\TAVERO.EXE from this program's folder)
// Screenshots of the loaded editor go to ..\..\e2e\ as BMP files (the runner makes PNGs).

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Driver.h"
#include "ExpectedBytes.h"
#include "res/resource.h"
#include "rom/RomLayout.h"
#include "tools/SampleImage.h"

using namespace E2e;

namespace {

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::wstring FullPath(const std::wstring& path) {
  wchar_t full[MAX_PATH] = {};
  GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
  return full;
}

// Where the images live while the tests run; removed at the end.
struct ImageFolder {
  std::wstring Path;
  std::vector<std::wstring> Files;

  ImageFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    Path = std::wstring(temp) + L"tavero-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(Path.c_str(), nullptr);
  }
  ~ImageFolder() {
    for (const std::wstring& file : Files) DeleteFileW(file.c_str());
    RemoveDirectoryW(Path.c_str());
  }
  std::wstring Write(const std::wstring& name, const Bytes& bytes) {
    std::wstring file = Path + name;
    WriteFileBytes(file, bytes);
    Files.push_back(file);
    return file;
  }
};

std::wstring TaveroExe;
std::wstring ArtifactFolder;
ImageFolder* Images = nullptr;

SampleImage::Options Image(SampleImage::Layout layout, bool header, int variant) {
  SampleImage::Options options;
  options.Records = layout;
  options.Header = header;
  options.Variant = variant;
  return options;
}

std::size_t HeaderOf(const SampleImage::Options& options) { return options.Header ? 0x200 : 0; }

std::size_t RecordAt(const SampleImage::Options& options, int esper, int size) {
  return HeaderOf(options) + RomLayout::EsperDataBlock + static_cast<std::size_t>(esper * size);
}

// A name field as the image holds it: the name's codes, then blanks to the field's width.
std::wstring Field(const std::string& name, int width) {
  Bytes bytes = SampleImage::EncodeName(name);
  bytes.resize(static_cast<std::size_t>(width), 0xFF);
  return Units(bytes);
}

std::wstring GeneratedBonus(int i) {
  static const std::uint8_t Digits[16] = {0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xBB,
                                          0xBC, 0xBD, 0x80, 0x81, 0x82, 0x83, 0x84, 0x85};
  return Units({0xB4, 0xD7, Digits[i / 16], Digits[i % 16]});
}

const std::wstring NoSpell = Units({0x8D, 0xA8, 0xFF, 0x92, 0xA9, 0x9E, 0xA5, 0xA5});
const std::wstring NoBonus = Units({0x8D, 0xA8, 0xFF, 0x81, 0xA8, 0xA7, 0xAE, 0xAC});

// The six-slot reading of a record: rates, spell items and bonus item the fields must show.
struct Shown {
  std::vector<int> Rates, SpellItems;
  int BonusItem;
};

Shown ShownFor(const Bytes& record) {
  Shown shown;
  for (int pair = 0; pair < 6; ++pair) {
    shown.Rates.push_back(record[static_cast<std::size_t>(2 * pair)]);
    const int item = (record[static_cast<std::size_t>(2 * pair + 1)] + 1) & 0xFF;
    shown.SpellItems.push_back(item <= RomLayout::SpellNameCount ? item : -1);  // no item: no selection
  }
  shown.BonusItem = record[12];
  return shown;
}

// What the fields show, in the same form; an item with no selection reads -1.
Shown FieldsOf(const Editor& editor) {
  Shown shown;
  for (int pair = 0; pair < 6; ++pair) {
    const std::wstring text = editor.FieldText(IDC_RATE1 + pair);
    shown.Rates.push_back(text.empty() ? -1 : std::stoi(text));
    shown.SpellItems.push_back(editor.Selection(IDC_SPELL1 + pair));
  }
  shown.BonusItem = editor.Selection(IDC_BONUS);
  return shown;
}

bool Same(const Shown& a, const Shown& b) {
  return a.Rates == b.Rates && a.SpellItems == b.SpellItems && a.BonusItem == b.BonusItem;
}

std::string Describe(const Shown& s) {
  std::string out("rates");
  for (int r : s.Rates) out.append(" ").append(std::to_string(r));
  out.append(", spell items");
  for (int i : s.SpellItems) out.append(" ").append(std::to_string(i));
  return out.append(", bonus item ").append(std::to_string(s.BonusItem));
}

// Waits a little for the fields to settle (a closing dialog hands control back before the
// command behind it has finished), then checks what they show.
void CheckShows(const Editor& editor, const Shown& expected, const std::string& what) {
  Eventually([&] { return Same(FieldsOf(editor), expected); });
  const Shown got = FieldsOf(editor);
  Check(Same(got, expected),
        what + (Same(got, expected) ? "" : " (shows " + Describe(got) + "; expected " + Describe(expected) + ")"));
}

void CheckFile(const std::wstring& path, const Bytes& expected, const std::string& what) {
  const std::string difference = Difference(ReadFileBytes(path), expected);
  Check(difference.empty(), what + (difference.empty() ? "" : ": " + difference));
}

void CheckNoDialog(const Editor& editor, const std::string& what) {
  const std::vector<HWND> dialogs = editor.OtherDialogs();
  std::string texts;
  for (HWND dialog : dialogs) texts += " \"" + Narrow(editor.StaticTexts(dialog)) + "\"";
  Check(dialogs.empty(), what + (dialogs.empty() ? "" : ": a dialog is open:" + texts));
}

// The code patch as the test writes it out, not as rom/ holds it.
Bytes WithPatch(const Bytes& bytes, const SampleImage::Options& options) {
  return Expected::WithSixSlotPatch(bytes, HeaderOf(options));
}

// Loads through the open-file dialog and waits until the esper box is filled and selected and
// the fields show the given record; returns the milliseconds from OK to that moment.
double LoadAndWait(const Editor& editor, const std::wstring& path, const Shown& first) {
  const LARGE_INTEGER pressed = editor.LoadThroughFileDialog(path);
  double shownMs = 0;
  WaitUntil(
      "the esper box filled and selected and the fields showing record 0",
      [&] {
        // In a fresh editor the box is empty until Load fills it, and the editor answers only
        // between commands: the first answer that finds it filled marks the end of the Load.
        const bool filled = editor.Count(IDC_ESPER) == RomLayout::EsperCount;
        shownMs = MillisecondsSince(pressed);
        return filled && editor.Selection(IDC_ESPER) == 0 && Same(FieldsOf(editor), first);
      },
      5000, 1);
  return shownMs;
}

// "median 12.3 ms (min 10.1, max 15.0)"
std::string Figure(std::vector<double> ms) {
  if (ms.empty()) return "no runs";
  std::sort(ms.begin(), ms.end());
  const std::size_t n = ms.size();
  const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
  char text[96];
  std::snprintf(text, sizeof text, "median %.1f ms (min %.1f, max %.1f)", median, ms.front(), ms.back());
  return text;
}

HWND WaitForMessageBox(const Editor& editor) {
  return editor.WaitForDialog("a message box", [&](HWND dialog) { return GetDlgItem(dialog, IDOK) != nullptr; });
}

// How many of the eight boxes and six rate fields take input (IsWindowEnabled).
int EnabledFields(const Editor& editor) {
  int enabled = 0;
  for (int id = IDC_ESPER; id <= IDC_RATE6; ++id) enabled += IsWindowEnabled(editor.Control(id)) ? 1 : 0;
  return enabled;
}

HWND FocusOf(const Editor& editor) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  GetGUIThreadInfo(GetWindowThreadProcessId(editor.Window(), nullptr), &gui);
  return gui.hwndFocus;
}

// The focus is in none of the boxes and fields (the dialog itself, or under Wine a static text).
bool FocusInNoField(const Editor& editor) {
  const HWND focus = FocusOf(editor);
  for (int id = IDC_ESPER; id <= IDC_RATE6; ++id)
    if (focus == editor.Control(id)) return false;
  return true;
}

// ---- the scenarios

void StartUp() {
  Editor editor(TaveroExe, Images->Path);
  wchar_t caption[32] = {};
  GetWindowTextW(editor.Window(), caption, 32);
  Check(std::wstring(caption) == L"TAVERO", "the caption reads \"TAVERO\" (" + Narrow(caption) + ")");

  // The system may move one bit elsewhere: a combo box hands WS_VSCROLL to its drop-down list,
  // an edit turns WS_BORDER into WS_EX_CLIENTEDGE. Either form is accepted, and shown.
  auto classAndStyle = [&](int first, int last, const std::string& wantClass, LONG wantStyle, LONG movedBit,
                           LONG addedExStyle) {
    std::string wrong, seen;
    for (int id = first; id <= last; ++id) {
      HWND control = editor.Control(id);
      wchar_t name[32] = {};
      GetClassNameW(control, name, 32);
      const LONG style = GetWindowLongW(control, GWL_STYLE) & ~WS_DISABLED;  // until an image is held: below
      const LONG exStyle = GetWindowLongW(control, GWL_EXSTYLE);
      const bool asWritten = style == wantStyle;
      const bool moved = style == (wantStyle & ~movedBit) && (exStyle & addedExStyle) == addedExStyle;
      char line[96];
      std::snprintf(line, sizeof line, " %d: %s 0x%08lX/0x%08lX", id, Narrow(name).c_str(),
                    static_cast<unsigned long>(style), static_cast<unsigned long>(exStyle));
      if (Narrow(name) != wantClass || !(asWritten || moved)) wrong += line;
      if (id == first) seen = line;
    }
    char what[160];
    std::snprintf(what, sizeof what, "controls %d..%d are %s with the template's style 0x%08lX (seen%s)", first, last,
                  wantClass.c_str(), static_cast<unsigned long>(wantStyle), seen.c_str());
    Check(wrong.empty(), what + (wrong.empty() ? "" : "; wrong:" + wrong));
  };
  classAndStyle(IDC_ESPER, IDC_BONUS, "ComboBox", 0x50210A23, WS_VSCROLL, 0);
  classAndStyle(IDC_RATE1, IDC_RATE6, "Edit", 0x50812000, WS_BORDER, WS_EX_CLIENTEDGE);
  const std::vector<HWND> lists = editor.Windows("ComboLBox", false);
  int scrolling = 0;
  for (HWND list : lists) scrolling += (GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL) != 0;
  Check(lists.size() == 8 && scrolling == 8, "the eight drop-down lists carry WS_VSCROLL (" +
                                                 std::to_string(scrolling) + " of " + std::to_string(lists.size()) +
                                                 ")");

  std::string rates, counts;
  for (int id = IDC_RATE1; id <= IDC_RATE6; ++id) rates.append(" \"").append(Narrow(editor.FieldText(id))).append("\"");
  bool allZero = true, allEmpty = true;
  for (int id = IDC_RATE1; id <= IDC_RATE6; ++id) allZero &= editor.FieldText(id) == L"0";
  for (int id = IDC_ESPER; id <= IDC_BONUS; ++id) {
    allEmpty &= editor.Count(id) == 0 && editor.Selection(id) == CB_ERR;
    counts.append(" ").append(std::to_string(editor.Count(id)));
  }
  Check(allZero, "the six rate fields show \"0\" (" + rates.substr(1) + ")");
  Check(allEmpty, "the eight boxes are empty, nothing selected (counts" + counts + ")");

  // No image yet: the real controls are disabled, so no edit can be typed that nothing saves.
  Check(EnabledFields(editor) == 0,
        "before a load the boxes and rate fields are disabled (" + std::to_string(EnabledFields(editor)) + " enabled)");
  Check(FocusInNoField(editor), "before a load no box or field has the focus");
  // Wine does not carry icon answers between processes: the question is asked from a thread
  // inside the editor's process.
  const Editor::IconAnswers icons = editor.AskIconsFromInside();
  Check(icons.DragIcon != 0 && icons.DragIcon == icons.BigIcon && icons.DragIcon == icons.SmallIcon,
        "WM_QUERYDRAGICON answers with the window's icon (drag " + std::to_string(icons.DragIcon) + ", big " +
            std::to_string(icons.BigIcon) + ", small " + std::to_string(icons.SmallIcon) + ")");

  // Before any load Save and "5->6" do nothing at once.
  editor.CommandAnswered(ID_FILE_SAVE);
  editor.CommandAnswered(ID_SHIFT_DATA);
  CheckNoDialog(editor, "before a load, Save and \"5->6\" return at once and open nothing");

  Check(editor.Exit(), "File > Exit ends the program");
}

void LoadFillsTheEditor() {
  // Variant 5: esper 0 has six filled pairs and a named bonus, so every field has a value.
  const SampleImage::Options options = Image(SampleImage::Layout::SixSlot, false, 5);
  const std::wstring path = Images->Write(L"six.smc", SampleImage::Make(options));
  Editor editor(TaveroExe, Images->Path);
  const Shown first = ShownFor(SampleImage::EsperRecord(options, 0));
  LoadAndWait(editor, path, first);
  Check(editor.FileDialogOwner == editor.Window() && !editor.EditorEnabledDuringFileDialog,
        "the open-file dialog is owned by the editor, which it disables");
  Check(editor.Selection(IDC_ESPER) == 0, "after Load the esper box selects esper 0");
  Check(EnabledFields(editor) == 14 && FocusOf(editor) == editor.Control(IDC_ESPER),
        "after Load the boxes and rate fields are enabled, the focus in the esper box");
  CheckShows(editor, first, "after Load the fields show esper 0's record (" + Describe(first) + ")");

  std::string counts;
  bool rightCounts = editor.Count(IDC_ESPER) == 27 && editor.Count(IDC_BONUS) == 256;
  for (int id = IDC_SPELL1; id <= IDC_SPELL6; ++id) rightCounts &= editor.Count(id) == 55;
  for (int id = IDC_ESPER; id <= IDC_BONUS; ++id) counts.append(" ").append(std::to_string(editor.Count(id)));
  Check(rightCounts, "esper box 27 items, spell boxes 55, bonus box 256 (" + counts.substr(1) + ")");

  // Every item, as the control holds it: one UTF-16 unit per byte of game text.
  auto compareItems = [&](int id, const std::vector<std::wstring>& expected, const std::string& what) {
    std::string wrong;
    for (std::size_t i = 0; i < expected.size() && wrong.empty(); ++i) {
      const std::wstring got = editor.Item(id, static_cast<int>(i));
      if (got != expected[i])
        wrong = "item " + std::to_string(i) + " is " + Hex(got) + ", expected " + Hex(expected[i]);
    }
    Check(wrong.empty(), what + (wrong.empty() ? "" : ": " + wrong));
  };
  std::vector<std::wstring> espers, spells{NoSpell}, bonuses;
  for (int i = 0; i < 27; ++i) espers.push_back(Field(SampleImage::EsperName(options, i), 8));
  for (int i = 0; i < 54; ++i) spells.push_back(Field(SampleImage::SpellName(options, i), 7));
  for (int i = 0; i < 17; ++i) bonuses.push_back(Field(SampleImage::BonusName(options, i), 9));
  for (int i = 17; i < 255; ++i) bonuses.push_back(GeneratedBonus(i));
  bonuses.push_back(NoBonus);
  compareItems(IDC_ESPER, espers, "the esper box lists the 27 names as the image holds them");
  for (int id = IDC_SPELL1; id <= IDC_SPELL6; ++id)
    compareItems(id, spells,
                 "spell box " + std::to_string(id - IDC_SPELL1 + 1) +
                     " lists \"no spell\" (8D A8 FF 92 A9 9E A5 A5), then the 54 names");
  compareItems(IDC_BONUS, bonuses,
               "the bonus box lists 17 names, the labels 17..254, then \"no bonus\" (8D A8 FF 81 A8 A7 AE AC)");
  CheckNoDialog(editor, "a good load shows no message");
  // At exit the image releases its sheets: that must end as quietly as it started.
  const bool ended = editor.Exit();
  const DWORD code = editor.ExitCode();
  Check(ended && code == 0,
        "File > Exit after a load ends the program with exit code 0 (" + std::to_string(code) + ")");
}

// Load as a new user meets it, ten times: each run starts the editor afresh and loads one
// image. The times are reported, never checked: a busy machine makes any of them long.
void Times() {
  const SampleImage::Options options = Image(SampleImage::Layout::SixSlot, false, 5);
  const std::wstring path = Images->Write(L"timed.smc", SampleImage::Make(options));
  const Shown first = ShownFor(SampleImage::EsperRecord(options, 0));
  std::vector<double> starts, loads, dialogParts, programParts;
  for (int run = 0; run < 10; ++run) {
    Editor editor(TaveroExe, Images->Path);
    starts.push_back(editor.StartMs);
    const double ms = LoadAndWait(editor, path, first);
    loads.push_back(ms);
    dialogParts.push_back(editor.FileDialogClosedMs);
    programParts.push_back(ms - editor.FileDialogClosedMs);
    editor.Exit();
  }
  std::printf(
      "load time over %zu loads, from OK in the open-file dialog to the refreshed fields: %s (goal: median "
      "under 100 ms)\n",
      loads.size(), Figure(loads).c_str());
  std::printf("  until the open-file dialog is gone (Wine's part): %s\n", Figure(dialogParts).c_str());
  std::printf("  from then to the refreshed fields (the program's part): %s (goal: median under 25 ms)\n",
              Figure(programParts).c_str());
  std::printf("start time over %zu starts, from process start to the main window shown: %s\n", starts.size(),
              Figure(starts).c_str());
}

void EditsReachTheFile() {
  const SampleImage::Options options = Image(SampleImage::Layout::SixSlot, true, 1);
  const Bytes original = SampleImage::Make(options);
  const std::wstring path = Images->Write(L"edit.smc", original);
  Editor editor(TaveroExe, Images->Path);
  LoadAndWait(editor, path, ShownFor(SampleImage::EsperRecord(options, 0)));

  Bytes record4 = SampleImage::EsperRecord(options, 4);
  Bytes record26 = SampleImage::EsperRecord(options, 26);
  editor.Pick(IDC_ESPER, 4);
  CheckShows(editor, ShownFor(record4), "picking esper 4 shows its record");

  editor.Type(IDC_RATE1, "123");
  record4[0] = 123;
  editor.Type(IDC_RATE6, "x1y");  // the letters never reach the field
  record4[10] = 1;
  Check(editor.FieldText(IDC_RATE6) == L"1",
        "a rate field keeps the digits of \"x1y\" only (reads \"" + Narrow(editor.FieldText(IDC_RATE6)) + "\")");
  editor.Pick(IDC_SPELL2, 54);
  record4[3] = 53;
  editor.MousePick(IDC_SPELL4, 7);  // one pick with the real mouse
  Check(editor.Selection(IDC_SPELL4) == 7, "a mouse pick of spell 4, item 7, selects it");
  record4[7] = 6;
  editor.Pick(IDC_SPELL3, 0);
  record4[5] = 0xFF;
  editor.Pick(IDC_BONUS, 255);
  record4[12] = 0xFF;

  // 300 is refused after the framework's prompt; the field goes back to the stored 30.
  editor.Type(IDC_RATE2, "300", true);
  HWND prompt = WaitForMessageBox(editor);
  const std::wstring promptText = editor.StaticTexts(prompt);
  wchar_t promptCaption[32] = {};
  GetWindowTextW(prompt, promptCaption, 32);
  Check(promptText.find(L"255") != std::wstring::npos && std::wstring(promptCaption) == L"TAVERO",
        "typing 300 brings the range prompt (" + Narrow(promptCaption) + ": \"" + Narrow(promptText) + "\")");
  editor.Press(prompt, IDOK, "the range prompt");
  Check(Eventually([&] { return editor.FieldText(IDC_RATE2) == L"30"; }),
        "after the prompt rate field 2 reads the stored 30 again (reads \"" + Narrow(editor.FieldText(IDC_RATE2)) +
            "\")");
  CheckNoDialog(editor, "the prompt does not come back");
  // The stored value comes back selected, so the next key replaces it (with the caret in
  // front of it, "1" made "130", stored without a prompt).
  const std::pair<int, int> selected = editor.EditSelection(IDC_RATE2);
  Check(selected == std::pair<int, int>(0, 2), "after the prompt the field's text is selected (" +
                                                   std::to_string(selected.first) + ".." +
                                                   std::to_string(selected.second) + ")");
  editor.TypeAtCaret(IDC_RATE2, "1");
  Check(editor.FieldText(IDC_RATE2) == L"1",
        "the next key replaces it (reads \"" + Narrow(editor.FieldText(IDC_RATE2)) + "\")");
  record4[2] = 1;
  // What the in-memory edit models: a text written by the program leaves the caret at 0.
  int rewritten = 0;  // a pair whose rate differs between the two espers, so its field is written
  while (rewritten < 5 && record4[2 * rewritten] == record26[2 * rewritten]) ++rewritten;
  editor.Pick(IDC_ESPER, 26);
  const std::pair<int, int> afterRefresh = editor.EditSelection(IDC_RATE1 + rewritten);
  Check(afterRefresh == std::pair<int, int>(0, 0), "a refreshed field has its caret at 0, nothing selected (" +
                                                       std::to_string(afterRefresh.first) + ".." +
                                                       std::to_string(afterRefresh.second) + ")");

  CheckShows(editor, ShownFor(record26), "picking esper 26 shows its record");
  editor.Type(IDC_RATE4, "255");
  record26[6] = 255;
  editor.Pick(IDC_BONUS, 16);
  record26[12] = 16;
  editor.Pick(IDC_SPELL6, 1);
  record26[11] = 0;

  editor.Pick(IDC_ESPER, 4);
  CheckShows(editor, ShownFor(record4), "back on esper 4 the fields show its edits");
  CheckNoDialog(editor, "no prompt after valid edits");

  editor.CommandAnswered(ID_FILE_SAVE);
  CheckNoDialog(editor, "Save is silent");
  Bytes expected = original;
  std::copy(record4.begin(), record4.end(), expected.begin() + static_cast<std::ptrdiff_t>(RecordAt(options, 4, 13)));
  std::copy(record26.begin(), record26.end(),
            expected.begin() + static_cast<std::ptrdiff_t>(RecordAt(options, 26, 13)));
  CheckFile(path, expected, "the saved file holds the edits of espers 4 and 26 and every other byte unchanged");
}

void ShiftAnswered(bool ok) {
  const std::string answer = ok ? "OK" : "Cancel";
  const SampleImage::Options options = Image(SampleImage::Layout::FiveSlot, ok, ok ? 2 : 0);
  const Bytes original = SampleImage::Make(options);
  const std::wstring path = Images->Write(ok ? L"five-ok.smc" : L"five-cancel.smc", original);
  Editor editor(TaveroExe, Images->Path);

  // Until "5->6", the five-slot block reads in 13-byte steps.
  auto misaligned = [&](int esper) {
    const auto at = static_cast<std::ptrdiff_t>(RecordAt(options, esper, 13));
    return Bytes(original.begin() + at, original.begin() + at + 13);
  };
  LoadAndWait(editor, path, ShownFor(misaligned(0)));
  editor.Pick(IDC_ESPER, 26);
  CheckShows(editor, ShownFor(misaligned(26)), "a five-slot image shows esper 26 read in 13-byte steps");

  editor.Command(ID_SHIFT_DATA);  // posted: it opens a modal dialog
  HWND question = editor.WaitForDialog("the \"Shift Data?\" dialog", [](HWND dialog) {
    wchar_t caption[32] = {};
    GetWindowTextW(dialog, caption, 32);
    return std::wstring(caption) == L"Shift Data?" && GetDlgItem(dialog, IDOK) && GetDlgItem(dialog, IDCANCEL);
  });
  Check(editor.StaticTexts(question) == L"This will shift old 5-slot esper data to align with the 6-slot espers patch.",
        "the question reads \"" + Narrow(editor.StaticTexts(question)) + "\"");
  Check(GetWindow(question, GW_OWNER) == editor.Window() && !IsWindowEnabled(editor.Window()),
        "the question is owned by the editor, which it disables");
  editor.Press(question, ok ? IDOK : IDCANCEL, "the \"Shift Data?\" dialog");
  WaitUntil("the editor to be enabled again", [&] { return IsWindowEnabled(editor.Window()) != FALSE; });

  Bytes expected = WithPatch(original, options);
  if (ok) {
    Bytes shifted26;
    for (int e = 0; e < 27; ++e) {
      const Bytes five = SampleImage::EsperRecord(options, e);
      Bytes six(five.begin(), five.begin() + 10);
      six.insert(six.end(), {0x00, 0xFF, five[10]});  // the sixth rate is 0 once saved
      std::copy(six.begin(), six.end(), expected.begin() + static_cast<std::ptrdiff_t>(RecordAt(options, e, 13)));
      if (e == 26) shifted26 = six;
    }
    CheckShows(editor, ShownFor(shifted26),
               "after OK the fields show esper 26 shifted: its five pairs, an empty sixth with rate 0, its bonus");
  } else {
    CheckShows(editor, ShownFor(misaligned(26)), "after Cancel the fields show esper 26 as before");
  }
  editor.CommandAnswered(ID_FILE_SAVE);
  CheckNoDialog(editor, "Save after \"5->6\" " + answer + " is silent");
  CheckFile(path, expected,
            ok ? "after OK and Save the block holds the six-slot records, plus the patch, nothing else changed"
               : "after Cancel and Save the block is unchanged, plus the patch, nothing else changed");
}

// Enter after typing a rate, the habit that ended the editor with the edit lost: with the
// edit unsaved it asks first; Cancel keeps the editor and the edit, Yes saves and ends.
void UnsavedEditIsKept() {
  const SampleImage::Options options = Image(SampleImage::Layout::SixSlot, false, 5);
  const Bytes original = SampleImage::Make(options);
  const std::wstring path = Images->Write(L"unsaved.smc", original);
  Editor editor(TaveroExe, Images->Path);
  LoadAndWait(editor, path, ShownFor(SampleImage::EsperRecord(options, 0)));
  editor.Type(IDC_RATE1, "77");

  auto pressEnter = [&] {  // as the keyboard does: a posted key the dialog manager turns into IDOK
    editor.Post(editor.Control(IDC_RATE1), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    editor.Post(editor.Control(IDC_RATE1), WM_KEYUP, VK_RETURN, 0xC01C0001);
  };
  pressEnter();
  HWND question = editor.WaitForSaveQuestion();
  wchar_t caption[32] = {};
  GetWindowTextW(question, caption, 32);
  Check(editor.StaticTexts(question) == L"Save changes to unsaved.smc?" && std::wstring(caption) == L"TAVERO",
        "Enter in a rate field after an edit asks (" + Narrow(caption) + ": \"" + Narrow(editor.StaticTexts(question)) +
            "\")");
  editor.Press(question, IDCANCEL, "the question");
  Check(Eventually([&] { return IsWindowEnabled(editor.Window()) != FALSE; }) && editor.Running() &&
            editor.FieldText(IDC_RATE1) == L"77",
        "Cancel keeps the editor open with the edit");
  CheckFile(path, original, "after Cancel the file is unchanged");

  pressEnter();
  editor.Press(editor.WaitForSaveQuestion(), IDYES, "the question");
  Check(Eventually([&] { return !editor.Running(); }, 5000), "Yes saves and the editor ends");
  Bytes expected = original;
  expected[RecordAt(options, 0, 13)] = 77;
  CheckFile(path, expected, "after Yes the file holds the edit and nothing else changed");
}

// The recovery folder of the editors this driver starts (LOCALAPPDATA, set in main).
std::wstring StateFolder;

std::vector<std::wstring> RecoveryFiles() {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((StateFolder + L"TAVERO\\recovery-*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// An edit outlives a kill: the next Load of the image asks to recover it, and Yes shows it
// again, unsaved, for Save to write.
void RecoveryAfterAKill() {
  const SampleImage::Options options = Image(SampleImage::Layout::SixSlot, false, 6);
  const Bytes original = SampleImage::Make(options);
  const std::wstring path = Images->Write(L"recover.smc", original);
  {
    Editor editor(TaveroExe, Images->Path);
    LoadAndWait(editor, path, ShownFor(SampleImage::EsperRecord(options, 0)));
    editor.Type(IDC_RATE1, "77");
    WaitUntil("a recovery file in %LOCALAPPDATA%\\TAVERO after the edit", [] { return RecoveryFiles().size() == 1; });
    editor.Kill();
  }
  CheckFile(path, original, "the kill left the file as it was");

  Editor editor(TaveroExe, Images->Path);
  editor.LoadThroughFileDialog(path);
  HWND question = editor.WaitForDialog("the question \"Recover the unsaved changes to ...?\"", [](HWND dialog) {
    return GetDlgItem(dialog, IDYES) && GetDlgItem(dialog, IDNO) && !GetDlgItem(dialog, IDCANCEL);
  });
  wchar_t caption[32] = {};
  GetWindowTextW(question, caption, 32);
  Check(editor.StaticTexts(question) == L"Recover the unsaved changes to recover.smc?" &&
            std::wstring(caption) == L"TAVERO",
        "the next Load asks (" + Narrow(caption) + ": \"" + Narrow(editor.StaticTexts(question)) + "\")");
  editor.Press(question, IDYES, "the question");
  Check(Eventually([&] { return editor.FieldText(IDC_RATE1) == L"77"; }), "Yes shows the edit again");
  CheckFile(path, original, "recovered, not saved: the file is as it was");
  editor.CommandAnswered(ID_FILE_SAVE);
  Bytes expected = original;
  expected[RecordAt(options, 0, 13)] = 77;
  CheckFile(path, expected, "Save writes the recovered edit");
  Check(RecoveryFiles().empty(), "a good Save removes the recovery");
}

void FailedLoadsSayWhy() {
  const SampleImage::Options good = Image(SampleImage::Layout::SixSlot, false, 0);
  const SampleImage::Options other = Image(SampleImage::Layout::SixSlot, false, 3);
  const Bytes goodBytes = SampleImage::Make(good);
  const std::wstring goodPath = Images->Write(L"good.smc", goodBytes);
  const std::wstring lockedPath = Images->Write(L"locked.smc", SampleImage::Make(other));
  Bytes shortBytes = SampleImage::Make(good);
  shortBytes.resize(RomLayout::ImageEnd - 1);
  const std::wstring shortPath = Images->Write(L"short.smc", shortBytes);

  Editor editor(TaveroExe, Images->Path);
  LoadAndWait(editor, goodPath, ShownFor(SampleImage::EsperRecord(good, 0)));
  editor.Type(IDC_RATE1, "77");

  // Held open here without write sharing: the editor cannot open it for writing.
  HANDLE lock = CreateFileW(lockedPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (lock == INVALID_HANDLE_VALUE) throw Failure("cannot hold locked.smc open");
  std::wstring lockedText;
  try {
    editor.LoadThroughFileDialog(lockedPath, IDNO);  // the edit is not saved
    HWND box = WaitForMessageBox(editor);
    lockedText = editor.StaticTexts(box);
    editor.Press(box, IDOK, "the load failure message");
  } catch (...) {
    CloseHandle(lock);
    throw;
  }
  CloseHandle(lock);
  Check(lockedText.find(lockedPath) != std::wstring::npos,
        "loading a file held read-only shows a message naming it (\"" + Narrow(lockedText) + "\")");
  CheckNoDialog(editor, "one message only");
  Check(editor.Count(IDC_ESPER) == 27 && editor.Item(IDC_ESPER, 0) == Field(SampleImage::EsperName(good, 0), 8),
        "after the failed load the boxes keep the earlier names");
  editor.CommandAnswered(ID_FILE_SAVE);
  CheckNoDialog(editor, "Save after a failed load does nothing and says nothing");
  CheckFile(goodPath, goodBytes, "the earlier file is untouched by that Save");

  editor.LoadThroughFileDialog(shortPath);
  HWND box = WaitForMessageBox(editor);
  const std::wstring shortText = editor.StaticTexts(box);
  editor.Press(box, IDOK, "the load failure message");
  Check(Eventually([&] { return EnabledFields(editor) == 0 && FocusInNoField(editor); }),
        "after a failed load the boxes and rate fields are disabled, none has the focus");
  Check(shortText.find(shortPath) != std::wstring::npos && shortText.find(L"too short") != std::wstring::npos,
        "loading a file too short shows a message naming it and why (\"" + Narrow(shortText) + "\")");

  // Still usable: the file, now free, loads.
  LoadAndWait(editor, lockedPath, ShownFor(SampleImage::EsperRecord(other, 0)));
  Check(editor.Item(IDC_ESPER, 0) == Field(SampleImage::EsperName(other, 0), 8),
        "the editor stays usable: the freed file loads and its names show");
  CheckNoDialog(editor, "that load shows no message");
}

void Screenshot() {
  const SampleImage::Options options = Image(SampleImage::Layout::SixSlot, false, 5);
  const std::wstring path = Images->Write(L"shot.smc", SampleImage::Make(options));
  Editor editor(TaveroExe, Images->Path);
  LoadAndWait(editor, path, ShownFor(SampleImage::EsperRecord(options, 0)));

  // The selection fields use the normal scheme: the game's glyphs on 0x800000 (as RGB 000080).
  RECT window{};
  GetWindowRect(editor.Window(), &window);
  const std::wstring shot = ArtifactFolder + L"editor.bmp";
  auto normal = [](const std::set<std::uint32_t>& c) { return c.count(0x000080) && c.count(0xFFFFFF); };
  const std::set<std::uint32_t> colours = CaptureWindowArea(window, shot, normal);
  Check(normal(colours), "a screenshot of the loaded editor (" + Narrow(shot) + ", " + std::to_string(colours.size()) +
                             " colours) shows fields in the normal scheme");

  // The esper list dropped with the mouse and the pointer on item 3: item 3 in the highlight
  // scheme (0xFF8080, RGB 8080FF), item 0, the current value, in the current scheme (0x404080,
  // RGB 804040), the others in the normal scheme.
  HWND list = editor.MouseDrop(IDC_ESPER);
  // A pointer move can be lost on a busy machine: move again now and then until it shows.
  int polls = 0;
  const bool tracked = Eventually(
      [&] {
        if (polls++ % 40 == 0) editor.PointAt(list, 3, false);
        return editor.Send(list, LB_GETCURSEL, 0, 0) == 3;
      },
      3000);
  Check(tracked, "with the list dropped, the item under the pointer becomes the list's selection");
  RECT dropped{};
  GetWindowRect(list, &dropped);
  RECT area{};
  UnionRect(&area, &window, &dropped);
  const std::wstring listShot = ArtifactFolder + L"editor-list.bmp";
  auto three = [](const std::set<std::uint32_t>& c) {
    return c.count(0x8080FF) && c.count(0x804040) && c.count(0x000080);
  };
  const std::set<std::uint32_t> listColours = CaptureWindowArea(area, listShot, three);
  editor.Send(editor.Control(IDC_ESPER), CB_SHOWDROPDOWN, FALSE, 0);
  Check(three(listColours),
        "a screenshot with the esper list dropped (" + Narrow(listShot) + ") shows all three schemes");
}

void Run(const char* name, void (*scenario)()) {
  std::printf("--- %s\n", name);
  std::fflush(stdout);
  const LARGE_INTEGER start = Now();
  try {
    scenario();
  } catch (const std::exception& e) {
    Check(false, std::string(name) + " stopped: " + e.what());
  }
  std::printf("    (%.0f ms)\n", MillisecondsSince(start));
}

}  // namespace

int main(int argc, char** argv) {
  const std::wstring folder = ExeFolder();
  TaveroExe = FullPath(argc > 1 ? Widen(argv[1]) : folder + L"..\\..\\ui\\TAVERO.EXE");
  ArtifactFolder = FullPath(folder + L"..\\..\\e2e") + L"\\";
  CreateDirectoryW(ArtifactFolder.c_str(), nullptr);
  for (const wchar_t* old : {L"editor.bmp", L"editor.png", L"editor-list.bmp", L"editor-list.png"})
    DeleteFileW((ArtifactFolder + old).c_str());
  if (GetFileAttributesW(TaveroExe.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::printf("FAILED: no editor at %s\n0 passed, 1 failed\n", Narrow(TaveroExe).c_str());
    return 1;
  }
  std::printf("editor: %s\n", Narrow(TaveroExe).c_str());

  ImageFolder images;
  Images = &images;
  // The editors keep their recoveries in a folder of this run, not the prefix's own.
  const std::wstring localAppData = images.Path + L"state";
  StateFolder = localAppData + L"\\";
  CreateDirectoryW(localAppData.c_str(), nullptr);
  SetEnvironmentVariableW(L"LOCALAPPDATA", localAppData.c_str());
  Run("start-up", StartUp);
  Run("load", LoadFillsTheEditor);
  Run("load and start times", Times);
  Run("edits and save", EditsReachTheFile);
  Run("5->6 answered OK", [] { ShiftAnswered(true); });
  Run("5->6 answered Cancel", [] { ShiftAnswered(false); });
  Run("unsaved edit kept", UnsavedEditIsKept);
  Run("recovery after a kill", RecoveryAfterAKill);
  Run("failed loads", FailedLoadsSayWhy);
  Run("screenshot", Screenshot);
  for (const std::wstring& name : RecoveryFiles()) DeleteFileW((StateFolder + L"TAVERO\\" + name).c_str());
  RemoveDirectoryW((StateFolder + L"TAVERO").c_str());
  RemoveDirectoryW(StateFolder.c_str());
  Images = nullptr;

  std::printf("%d passed, %d failed\n", PassedCount(), FailedCount());
  std::fflush(stdout);
  return FailedCount() == 0 ? 0 : 1;
}
