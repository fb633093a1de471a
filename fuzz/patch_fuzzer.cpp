// tavero-cli's patch writers on any original and edited image of one length: the BPS patch,
// applied to the original by an applier written from the format alone, gives the edited
// image; so does the IPS patch, which is refused, and nothing written, exactly when a change
// lies at or past the 16 MiB its offsets reach.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "PatchAppliers.h"
#include "Uninstrumented.h"
#include "formats/Bps.h"
#include "formats/Ips.h"
#include "tools/SampleImage.h"

namespace {

constexpr std::size_t IpsLimit = 0x1000000;
constexpr std::size_t EofOffset = 0x454F46;  // an IPS record here would begin with "EOF"
constexpr std::size_t Longest = IpsLimit + 0x10000;

// The generated image, then patterned bytes up to the longest length.
const Bytes& Base() {
  static const Bytes base = [] {
    Bytes bytes = SampleImage::Make({});
    std::size_t at = bytes.size();
    bytes.resize(Longest);
    for (; at < Longest; ++at) bytes[at] = static_cast<std::uint8_t>(at * 7 + (at >> 11));
    return bytes;
  }();
  return base;
}

// The two images, kept between runs at the longest length; a run uses the first Length
// bytes and puts back what it changed.
struct Images {
  Bytes Original = Base();
  Bytes Edited = Base();
  std::vector<std::pair<std::size_t, std::size_t>> Changed;

  void Restore() {
    for (const auto& [from, to] : Changed) {
      std::copy(Base().begin() + static_cast<std::ptrdiff_t>(from), Base().begin() + static_cast<std::ptrdiff_t>(to),
                Original.begin() + static_cast<std::ptrdiff_t>(from));
      std::copy(Base().begin() + static_cast<std::ptrdiff_t>(from), Base().begin() + static_cast<std::ptrdiff_t>(to),
                Edited.begin() + static_cast<std::ptrdiff_t>(from));
    }
    Changed.clear();
  }
};

std::size_t PickLength(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 4)) {
    case 0: return input.ConsumeIntegralInRange<std::size_t>(0, 0x20000);
    case 1: return 0x300000 + input.ConsumeIntegralInRange<std::size_t>(0, 0x200);
    case 2: return EofOffset + input.ConsumeIntegralInRange<std::size_t>(0, 0x20000);
    case 3: return IpsLimit - input.ConsumeIntegralInRange<std::size_t>(0, 0x100);
    default: return IpsLimit + input.ConsumeIntegralInRange<std::size_t>(1, 0x10000);
  }
}

TAVERO_UNTRACED void Flip(Bytes& image, std::size_t from, std::size_t to, std::size_t spacing, std::uint8_t flip) {
  for (std::size_t i = from; i < to; i += spacing) image[i] ^= flip;
}

// One edit to image, the first length bytes, near a place that matters to a patch writer:
// the start, the end, the offset that reads as "EOF", the IPS limit, or anywhere. It writes
// bytes of the input, or a run (up to past an IPS record's 0xFFFF bytes) of changed bytes at
// a fixed spacing, so that changes lie the writers' joining gaps apart.
void Edit(FuzzedDataProvider& input, Bytes& image, std::size_t length, Images& images) {
  const std::size_t anchors[] = {0, length, EofOffset, IpsLimit, input.ConsumeIntegral<std::size_t>() % length};
  const std::size_t anchor = input.PickValueInArray(anchors);
  const auto shift = input.ConsumeIntegralInRange<std::ptrdiff_t>(-16, 16);
  const std::size_t at = static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(
      static_cast<std::ptrdiff_t>(anchor) + shift, 0, static_cast<std::ptrdiff_t>(length) - 1));
  std::size_t end = at;
  if (input.ConsumeBool()) {
    for (std::uint8_t byte : input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(1, 64)))
      if (end < length) image[end++] = byte;
  } else {
    const std::size_t spacing = input.ConsumeIntegralInRange<std::size_t>(1, 8);
    const auto flip = static_cast<std::uint8_t>(input.ConsumeIntegralInRange(1, 0xFF));
    end = std::min(length, at + input.ConsumeIntegralInRange<std::size_t>(1, 0x10100));
    Flip(image, at, end, spacing, flip);
  }
  images.Changed.emplace_back(at, end);
}

// Whether the two differ anywhere at or past from.
TAVERO_UNTRACED bool DifferFrom(ByteSpan a, ByteSpan b, std::size_t from) {
  for (std::size_t i = from; i < a.size(); ++i)
    if (a[i] != b[i]) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Images images;
  images.Restore();
  FuzzedDataProvider input(data, size);
  const std::size_t length = PickLength(input);
  if (length > 0) {
    // Edits of the original go into both; then the edits that make the edited image.
    while (input.remaining_bytes() > 0 && input.ConsumeBool()) {
      Edit(input, images.Original, length, images);
      const auto& [from, to] = images.Changed.back();
      std::copy(images.Original.begin() + static_cast<std::ptrdiff_t>(from),
                images.Original.begin() + static_cast<std::ptrdiff_t>(to),
                images.Edited.begin() + static_cast<std::ptrdiff_t>(from));
    }
    while (input.remaining_bytes() > 0) Edit(input, images.Edited, length, images);
  }
  const ByteSpan original(images.Original.data(), length), edited(images.Edited.data(), length);

  static Bytes applied;  // kept: memory new to the process is slow under the sanitizers
  const auto bytes = [](const std::string& patch) {
    return ByteSpan(reinterpret_cast<const std::uint8_t*>(patch.data()), patch.size());
  };
  const std::string bps = Formats::MakeBps(original, edited);
  if (!ApplyBps(original, bytes(bps), applied).empty() ||
      !std::equal(edited.begin(), edited.end(), applied.begin(), applied.end()))
    std::abort();

  const std::string untouched = "untouched";
  std::string ips = untouched, error;
  const bool expressible = !DifferFrom(original, edited, std::min(length, IpsLimit));
  if (Formats::MakeIps(original, edited, &ips, &error) != expressible) std::abort();
  if (!expressible) {
    if (ips != untouched || error.empty()) std::abort();
    return 0;
  }
  if (!ApplyIps(original, bytes(ips), applied).empty() ||
      !std::equal(edited.begin(), edited.end(), applied.begin(), applied.end()))
    std::abort();
  return 0;
}
