#include "HostileImages.h"

#include "rom/RomLayout.h"
#include "tools/SampleImage.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t ImageEnd = 0x26F7B9;  // one past the last byte the editor touches

// The shortest file whose locations all fit behind the header its length gives (the length
// modulo 0x10000), found by trying each length from ImageEnd up.
constexpr std::size_t ShortestLength() {
  for (std::size_t length = ImageEnd;; ++length)
    if (length >= length % 0x10000 + ImageEnd) return length;
}
constexpr std::size_t Shortest = ShortestLength();
static_assert(Shortest == 0x270000);

const std::string Loads;
const std::string TooShort = "too short";
const std::string UnknownCode = "esper code";

Bytes Sample(std::size_t romSize = 0x300000) {
  SampleImage::Options options;
  options.RomSize = romSize;
  return SampleImage::Make(options);
}

// The sample's data moved to where a file of this length has it: length % 0x10000 is its header.
Bytes WithLength(std::size_t length) {
  Bytes sample = Sample();
  std::size_t header = SampleImage::HeaderSizeFor(length);
  Bytes bytes(length, 0x5A);
  for (std::size_t i = 0; i + header < length && i < sample.size(); ++i) bytes[i + header] = sample[i];
  return bytes;
}

Bytes WithProbes(std::uint8_t a, std::uint8_t b) {
  Bytes bytes = Sample();
  bytes[RomLayout::RecordSizeProbeA] = a;
  bytes[RomLayout::RecordSizeProbeB] = b;
  return bytes;
}

Bytes WithNameBlocks(const std::function<std::uint8_t(std::size_t)>& byteAt) {
  Bytes bytes = Sample();
  std::size_t k = 0;
  for (std::size_t i = 0; i < RomLayout::BonusNameCount * RomLayout::BonusNameWidth; ++i)
    bytes[RomLayout::BonusNameBlock + i] = byteAt(k++);
  for (std::size_t i = RomLayout::SpellNameBlock; i < RomLayout::ImageEnd; ++i) bytes[i] = byteAt(k++);
  return bytes;
}

}  // namespace

std::vector<HostileImage> HostileImages() {
  std::vector<HostileImage> images = {
      {"Empty", [] { return Bytes(); }, TooShort},
      {"OneByte", [] { return Bytes(1, 0x0D); }, TooShort},
      {"OneByteShort", [] { return WithLength(Shortest - 1); }, TooShort},
      {"ExactlyTheLastLocation", [] { return WithLength(Shortest); }, Loads},
      {"EndsInsideTheNames",
       [] {
         Bytes bytes = Sample();
         bytes.resize(RomLayout::SpellNameBlock + 3);
         return bytes;
       },
       TooShort},
      // Long enough without a header, but not with the one its length gives.
      {"EndsOneBeforeTheLastLocation", [] { return WithLength(ImageEnd - 1); }, TooShort},
      {"ReachesTheLastLocationWithoutItsHeader", [] { return WithLength(ImageEnd); }, TooShort},
      {"HeaderRemainder1", [] { return WithLength(Shortest + 0x10000 + 1); }, Loads},
      {"HeaderRemainder1FF", [] { return WithLength(Shortest + 0x10000 + 0x1FF); }, Loads},
      {"HeaderRemainder200", [] { return WithLength(Shortest + 0x200); }, Loads},
      {"HeaderRemainderFFFF", [] { return WithLength(Shortest + 0xFFFF); }, Loads},
      {"HeaderRemainderFFFFTooShort", [] { return WithLength(Shortest - 1); }, TooShort},
      {"Length7FFFFF", [] { return WithLength(0x7FFFFF); }, Loads},
      {"Length800000", [] { return WithLength(0x800000); }, Loads},
      {"Length1000000", [] { return WithLength(0x1000000); }, Loads},
      {"ProbesDisagree", [] { return WithProbes(0x0B, 0x0D); }, UnknownCode},
      {"NamesWithoutEnds",
       [] { return WithNameBlocks([](std::size_t k) { return static_cast<std::uint8_t>(0x80 + k % 0x7F); }); }, Loads},
      {"NamesAllZero", [] { return WithNameBlocks([](std::size_t) { return std::uint8_t{0}; }); }, Loads},
      {"NamesOfEveryByte",
       [] { return WithNameBlocks([](std::size_t k) { return static_cast<std::uint8_t>(1 + k % 255); }); }, Loads},
  };
  // The editor knows five-slot code (11) and rows of 13 bytes and more.
  for (int probe : {0, 10, 11, 12, 13, 14, 32, 33, 255})
    images.push_back(
        {"ProbesBoth" + std::to_string(probe),
         [probe] { return WithProbes(static_cast<std::uint8_t>(probe), static_cast<std::uint8_t>(probe)); },
         probe == 11 || probe >= 13 ? Loads : UnknownCode});
  return images;
}
