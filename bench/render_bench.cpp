// The cost of showing names: a whole sheet build per load, one owner-drawn item of nine
// glyphs, and filling the eight boxes as Load does, natively on the in-memory backend. Each
// reported beside a baseline measured in the same run: filling the same number of pixels as
// the sheets hold with std::fill, and appending the same items to plain vectors (so the
// framework's cost per item added shows, which under Wine was a platform round trip each).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "RatioReporter.h"
#include "framework/CMemoryDC.h"
#include "framework/headless/HeadlessUser.h"
#include "render/CGameTextComboBox.h"
#include "render/SheetBuilder.h"
#include "rom/CRomImage.h"
#include "rom/RomLayout.h"
#include "tools/SampleImage.h"
#include "ui/ListLabels.h"

CRomImage g_rom;

namespace {

constexpr int BoxId = 1000;

// A dialog of count owner-drawn boxes, ids BoxId, BoxId + 1, ..., with room for the preview.
class BoxDialog : public CDialog {
 public:
  BoxDialog(UINT templateId, int count) : CDialog(templateId), Boxes(new CGameTextComboBox[count]), Count(count) {
    Headless::DialogTemplate window;
    window.Caption = "Bench";
    for (int i = 0; i < count; ++i) window.Controls.push_back({BoxId + i, "ComboBox", 0x50210A23, "", 0, 0, 0, 0});
    window.ClientWidth = 256;
    window.ClientHeight = 1280;
    Headless::RegisterTemplate(templateId, window);
    Headless::Open(*this);
    for (int i = 0; i < count; ++i) Boxes[i].SubclassDlgItem(static_cast<UINT>(BoxId + i), this);
  }
  ~BoxDialog() override { Headless::Close(*this); }
  std::span<CGameTextComboBox> All() { return {Boxes.get(), static_cast<std::size_t>(Count)}; }
  std::unique_ptr<CGameTextComboBox[]> Boxes;
  int Count;
};

struct BenchWindow : BoxDialog {
  BenchWindow() : BoxDialog(1, 1) {}
  CGameTextComboBox& Box = Boxes[0];
};

// The editor's eight boxes: [0] esper, [1..6] spells, [7] bonus.
constexpr int BoxCount = 8;
struct EightBoxes : BoxDialog {
  EightBoxes() : BoxDialog(2, BoxCount) {}
};

// The items in Load's order, to a box index and an item: 613 in all.
template <class Add>
void AddLoadItems(Add add) {
  for (int pair = 1; pair <= PairCount; ++pair) add(pair, NoSpellText);
  for (std::size_t i = 0; i < RomLayout::SpellNameCount; ++i)
    for (int pair = 1; pair <= PairCount; ++pair) add(pair, g_rom.SpellNames[i]);
  for (std::size_t i = 0; i < RomLayout::EsperCount; ++i) add(0, g_rom.EsperNames[i]);
  for (std::size_t i = 0; i < RomLayout::BonusLabelCount; ++i) add(BoxCount - 1, g_rom.BonusNames[i]);
  add(BoxCount - 1, NoBonusText);
}

void LoadSample() {
  static bool loaded = false;
  if (loaded) return;
  std::string path = (std::filesystem::temp_directory_path() / "tavero-bench-render.smc").string();
  std::string error;
  SampleImage::WriteFile(path, SampleImage::Make({}), &error);
  g_rom.SetPath(CString(path.c_str()));
  if (!g_rom.LoadImage()) std::fprintf(stderr, "%s\n", g_rom.ErrorText.Str().c_str());
  std::filesystem::remove(path);
  loaded = true;
}

void FillSheetPixels(benchmark::State& state) {
  std::vector<std::uint32_t> pixels(128 * 384 + 128 * 1024);
  std::uint32_t value = 0;
  for (auto _ : state) {
    std::fill(pixels.begin(), pixels.end(), ++value);
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(FillSheetPixels)->Unit(benchmark::kMicrosecond);

void BuildSheetsOnce(benchmark::State& state) {
  LoadSample();
  BenchWindow window;
  for (auto _ : state) BuildSheets(window, g_rom);
}
BENCHMARK(BuildSheetsOnce)->Unit(benchmark::kMicrosecond);

void DrawNineGlyphItem(benchmark::State& state) {
  LoadSample();
  BenchWindow window;
  BuildSheets(window, g_rom);
  window.Box.AddString("\x80\x81\x82\x83\x84\x85\x86\x87\x88");
  CMemoryDC target;
  target.CreateCompatibleDC(nullptr);
  target.Bitmap.CreateCompatibleBitmap(nullptr, 128, 16);
  target.SelectObject(&target.Bitmap);
  DRAWITEMSTRUCT item{ODT_COMBOBOX,        BoxId,          0, ODA_DRAWENTIRE, 0, window.Box.m_hWnd,
                      target.GetSafeHdc(), {0, 0, 88, 12}, 0};
  for (auto _ : state) window.Box.DrawItem(&item);
}
BENCHMARK(DrawNineGlyphItem)->Unit(benchmark::kNanosecond);

void AppendEightLists(benchmark::State& state) {
  LoadSample();
  std::vector<std::string> lists[BoxCount];
  for (auto _ : state) {
    for (auto& list : lists) list.clear();
    AddLoadItems([&](int box, const CString& text) { lists[box].push_back(text.Str()); });
    benchmark::DoNotOptimize(lists);
  }
}
BENCHMARK(AppendEightLists)->Unit(benchmark::kMicrosecond);

void FillEightBoxes(benchmark::State& state) {
  LoadSample();
  EightBoxes window;
  for (auto _ : state) {
    for (CGameTextComboBox& box : window.All()) {
      box.SetRedraw(FALSE);
      box.ResetContent();
    }
    AddLoadItems([&](int box, const CString& text) { window.Boxes[box].AddString(text); });
    for (CGameTextComboBox& box : window.All()) {
      box.SetRedraw(TRUE);
      box.Invalidate();
    }
  }
}
BENCHMARK(FillEightBoxes)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  RunAndCompare(argc, argv, {{"BuildSheetsOnce", "FillSheetPixels"}, {"FillEightBoxes", "AppendEightLists"}});
  return 0;
}
