// How much a load costs beyond reading the file: the whole load sequence (LoadImage) on a
// 4 MiB generated image, against a plain read of the same file into memory.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "rom/CRomImage.h"
#include "tools/SampleImage.h"

namespace {

std::string ImagePath() {
  static const std::string path = [] {
    std::string p = (std::filesystem::temp_directory_path() / "tavero-bench-4mib.smc").string();
    SampleImage::Options options;
    options.RomSize = 4 * 1024 * 1024;
    std::string error;
    if (!SampleImage::WriteFile(p, SampleImage::Make(options), &error)) std::fprintf(stderr, "%s\n", error.c_str());
    return p;
  }();
  return path;
}

void PlainRead(benchmark::State& state) {
  const std::string path = ImagePath();
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::fseek(file, 0, SEEK_END);
    auto length = static_cast<std::size_t>(std::ftell(file));
    std::unique_ptr<char[]> bytes(new char[length]);  // uninitialised, as the image buffer is
    std::fseek(file, 0, SEEK_SET);
    benchmark::DoNotOptimize(std::fread(bytes.get(), 1, length, file));
    std::fclose(file);
    benchmark::DoNotOptimize(bytes.get());
  }
}
BENCHMARK(PlainRead)->Unit(benchmark::kMicrosecond);

void LoadAndReadEsperData(benchmark::State& state) {
  CRomImage rom;
  rom.SetPath(CString(ImagePath().c_str()));
  for (auto _ : state) {
    if (!rom.LoadImage()) state.SkipWithError(rom.ErrorText);
    benchmark::DoNotOptimize(rom.EsperTable.data());
  }
}
BENCHMARK(LoadAndReadEsperData)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  RunAndCompare(argc, argv, "LoadAndReadEsperData", "PlainRead", " (goal: under 2)");
  std::filesystem::remove(ImagePath());
  return 0;
}
