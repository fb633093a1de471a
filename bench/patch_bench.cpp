// What a patch costs for a one-record change on a 4 MiB image: the BPS writer (a pass to find
// the changes and three CRC-32s) and the IPS writer, against a plain comparison of every byte
// of the two images, measured in the same run.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "RatioReporter.h"
#include "formats/Bps.h"
#include "formats/Ips.h"
#include "rom/RomLayout.h"
#include "tools/SampleImage.h"

namespace {

struct ImagePair {
  std::vector<std::uint8_t> Original;
  std::vector<std::uint8_t> Edited;
};

const ImagePair& Images() {
  static const ImagePair pair = [] {
    SampleImage::Options options;
    options.RomSize = 4 * 1024 * 1024;
    options.Records = SampleImage::Layout::SixSlot;
    ImagePair images{SampleImage::Make(options), {}};
    images.Edited = images.Original;
    const std::uint64_t record = RomLayout::EsperDataBlock + 13 * RomLayout::SixSlotRecordSize;
    for (int slot = 0; slot < RomLayout::SixSlotRecordSize; ++slot) images.Edited[record + slot] ^= 0x5A;
    return images;
  }();
  return pair;
}

void PlainComparison(benchmark::State& state) {
  const ImagePair& images = Images();
  for (auto _ : state) {
    std::size_t differing = 0;
    for (std::size_t i = 0; i < images.Original.size(); ++i) differing += images.Original[i] != images.Edited[i];
    benchmark::DoNotOptimize(differing);
  }
}
BENCHMARK(PlainComparison)->Unit(benchmark::kMicrosecond);

void WriteBps(benchmark::State& state) {
  const ImagePair& images = Images();
  std::size_t size = 0;
  for (auto _ : state) {
    const std::string patch = Formats::MakeBps(images.Original, images.Edited);
    size = patch.size();
    benchmark::DoNotOptimize(patch.data());
  }
  state.counters["patch_bytes"] = static_cast<double>(size);
}
BENCHMARK(WriteBps)->Unit(benchmark::kMicrosecond);

void WriteIps(benchmark::State& state) {
  const ImagePair& images = Images();
  std::size_t size = 0;
  for (auto _ : state) {
    std::string patch, error;
    if (!Formats::MakeIps(images.Original, images.Edited, &patch, &error)) state.SkipWithError(error.c_str());
    size = patch.size();
    benchmark::DoNotOptimize(patch.data());
  }
  state.counters["patch_bytes"] = static_cast<double>(size);
}
BENCHMARK(WriteIps)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  reporter.PrintRatio("WriteBps", "PlainComparison", "");
  reporter.PrintRatio("WriteIps", "PlainComparison", "");
  return 0;
}
