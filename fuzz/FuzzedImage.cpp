#include "FuzzedImage.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/headless/HeadlessUser.h"
#include "rom/RomLayout.h"
#include "tools/CleanImages.h"
#include "tools/SampleImage.h"
#include "ui/CEditorDlg.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string ImagePath = "/fuzz/image.smc";

constexpr std::size_t LongestFile = 0x800000 + 0x1FFFF;

}  // namespace

const std::string& WriteFuzzedImage(FuzzedDataProvider& input) {
  // Lengths around the edges that matter: too short, just long enough, odd headers, large.
  static constexpr std::size_t Lengths[] = {0, 1, 0x26F7B9, 0x26FFFF, 0x270000, 0x2F0000, 0x300000, 0x7FFFFF, 0x800000};
  std::size_t length = input.PickValueInArray(Lengths);
  if (input.ConsumeBool()) length += input.ConsumeIntegralInRange<std::size_t>(0, 0x1FFFF);
  const std::size_t header = SampleImage::HeaderSizeFor(length);

  // Sixteen files of 8 MiB at most: the lengths a corpus keeps coming back to.
  static CleanImages images(SampleImage::Make({}), LongestFile, 16);
  MemoryFileSystem& files = ProcessMemoryFiles();
  const MemoryFileSystem::Span written = files.TakeChanged(ImagePath);
  Bytes& file = files.Contents(ImagePath);
  images.Prepare(file, length, header,
                 {static_cast<std::size_t>(written.First), static_cast<std::size_t>(written.Last)});

  while (input.remaining_bytes() > 0 && input.ConsumeBool()) {
    const RomLayout::Block& region = input.PickValueInArray(RomLayout::EditorBlocks);
    std::size_t at = header + region.Offset + input.ConsumeIntegralInRange<std::size_t>(0, region.Length - 1);
    Bytes run = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(1, 64));
    if (at < length) images.Changed(at, std::min(at + run.size(), length));
    for (std::uint8_t byte : run)
      if (at < length) file[at++] = byte;
  }
  return ImagePath;
}

CEditorDlg& FuzzedEditor() {
  static CEditorDlg* editor = [] {
    std::string error;
    if (!Headless::LoadResourceScript(TAVERO_SOURCE_DIR "/res/TAVERO.rc", TAVERO_SOURCE_DIR "/res/resource.h",
                                      &error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      std::abort();
    }
    auto* dialog = new CEditorDlg;
    Headless::Open(*dialog);
    return dialog;
  }();
  return *editor;
}
