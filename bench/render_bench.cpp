// The cost of drawing names: a whole sheet build per load, and one owner-drawn item of nine
// glyphs, natively on the in-memory backend. Reported beside a baseline measured in the same
// run: filling the same number of pixels as the sheets hold with std::fill.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "RatioReporter.h"
#include "framework/CMemoryDC.h"
#include "framework/headless/HeadlessUser.h"
#include "render/CGameTextComboBox.h"
#include "render/SheetBuilder.h"
#include "rom/CRomImage.h"
#include "tools/SampleImage.h"

CRomImage g_rom;

namespace {

constexpr UINT WindowTemplate = 1;
constexpr int BoxId = 1000;

class BenchWindow : public CDialog {
 public:
  BenchWindow() : CDialog(WindowTemplate) {
    Headless::DialogTemplate window;
    window.Caption = "Bench";
    window.Controls = {{BoxId, "ComboBox", 0x50210A23, "", 0, 0, 0, 0}};
    window.ClientWidth = 256;
    window.ClientHeight = 1280;
    Headless::RegisterTemplate(WindowTemplate, window);
    Headless::Open(*this);
    Box.SubclassDlgItem(BoxId, this);
  }
  ~BenchWindow() override { Headless::Close(*this); }
  CGameTextComboBox Box;
};

void LoadSample() {
  static bool loaded = false;
  if (loaded) return;
  std::string path = (std::filesystem::temp_directory_path() / "tavero-bench-render.smc").string();
  std::string error;
  SampleImage::WriteFile(path, SampleImage::Make({}), &error);
  g_rom.SetPath(CString(path.c_str()));
  g_rom.LoadFile();
  g_rom.SetHeaderSize(RomLayout::HeaderSizeOf(g_rom.GetImageLength()));
  g_rom.CheckImageExtent();
  g_rom.ReadEsperData();
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
  DRAWITEMSTRUCT item{ODT_COMBOBOX, BoxId, 0, ODA_DRAWENTIRE, 0, window.Box.m_hWnd, target.GetSafeHdc(), {0, 0, 88, 12}, 0};
  for (auto _ : state) window.Box.DrawItem(&item);
}
BENCHMARK(DrawNineGlyphItem)->Unit(benchmark::kNanosecond);

}  // namespace

int main(int argc, char** argv) {
  RunAndCompare(argc, argv, "BuildSheetsOnce", "FillSheetPixels");
  return 0;
}
