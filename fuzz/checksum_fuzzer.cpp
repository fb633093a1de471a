// tavero-cli's internal checksum on any image file, read as the command reads it: the verdict
// agrees with a sum this target works out by itself, and after a fix a new inspection says
// Good, with only the four stored bytes changed.
//
// The rule, as written here: the image is the file up to 8 MiB (of a file of 8 MiB or more)
// less a header of its length modulo 64 KiB, which must be none or 512 bytes; the map-mode
// byte at ROM 0xFFD5 must read 0x21 or 0x31; the sum runs over the image as the console
// sees it, a size that is not a power of two mirrored, with ROM 0xFFDC..0xFFDF counted as
// FF FF 00 00; the checksum at 0xFFDE and its complement at 0xFFDC are low byte first.

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cstdlib>
#include <string>
#include <vector>

#include "Uninstrumented.h"
#include "cli/ImageFile.h"
#include "cli/SnesChecksum.h"
#include "framework/MemoryFileSystem.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Verdict = Cli::ChecksumCheck::Verdict;

const std::string ImagePath = "/fuzz/checksum.smc";

// Appends the bytes the console sees at every address up to the next power of two of the
// size: the largest power of two that fits, then the rest, itself mirrored, repeated until it
// fills as much again.
TAVERO_UNTRACED void AppendMirrored(const std::uint8_t* rom, std::size_t size, Bytes& seen) {
  if (size == 0) return;
  const std::size_t head = std::bit_floor(size);
  seen.insert(seen.end(), rom, rom + head);
  if (head == size) return;
  const std::size_t restStart = seen.size();
  AppendMirrored(rom + head, size - head, seen);
  const std::size_t restSize = seen.size() - restStart;
  for (std::size_t i = 0; seen.size() < restStart + head; ++i) seen.push_back(seen[restStart + i % restSize]);
}

TAVERO_UNTRACED std::uint16_t SumOf(const Bytes& bytes) {
  unsigned sum = 0;
  for (std::uint8_t byte : bytes) sum = (sum + byte) & 0xFFFF;
  return static_cast<std::uint16_t>(sum);
}

// Whether a and b differ only in the four stored bytes of the image that starts at header.
TAVERO_UNTRACED bool OnlyStoredBytesDiffer(const Bytes& a, const std::uint8_t* b, std::size_t header) {
  for (std::size_t at = 0; at < a.size(); ++at) {
    const bool stored = at >= header && at - header >= 0xFFDC && at - header < 0xFFE0;
    if (!stored && a[at] != b[at]) return false;
  }
  return true;
}

// Patterned bytes, the same every run.
TAVERO_UNTRACED void FillPattern(Bytes& file) {
  for (std::size_t at = 0; at < file.size(); ++at) file[at] = static_cast<std::uint8_t>(at * 13 + (at >> 10));
}

struct Expected {
  Verdict Result = Verdict::TooShort;
  std::size_t Header = 0;
  std::uint16_t Sum = 0;
};

Expected Oracle(const Bytes& file) {
  Expected expected;
  const std::size_t imageEnd = file.size() >= 0x800000 ? 0x800000 : file.size();
  expected.Header = imageEnd % 0x10000;
  if (expected.Header != 0 && expected.Header != 0x200) {
    expected.Result = Verdict::OddHeader;
    return expected;
  }
  const std::uint8_t* rom = file.data() + expected.Header;
  const std::size_t size = imageEnd - expected.Header;
  if (size < 0x10000) return expected;  // TooShort
  if (rom[0xFFD5] != 0x21 && rom[0xFFD5] != 0x31) {
    expected.Result = Verdict::NotHiRom;
    return expected;
  }
  static Bytes seen;  // kept: memory new to the process is slow under the sanitizers
  seen.clear();
  seen.reserve(std::bit_ceil(size));
  AppendMirrored(rom, size, seen);
  seen[0xFFDC] = 0xFF;
  seen[0xFFDD] = 0xFF;
  seen[0xFFDE] = 0x00;
  seen[0xFFDF] = 0x00;
  expected.Sum = SumOf(seen);
  const unsigned stored = rom[0xFFDE] | rom[0xFFDF] << 8, complement = rom[0xFFDC] | rom[0xFFDD] << 8;
  const unsigned sum = expected.Sum;
  expected.Result = stored == sum && complement == (sum ^ 0xFFFF) ? Verdict::Good : Verdict::Stale;
  return expected;
}

// A file of whole 64 KiB banks (a few, mostly, for mirrors of several levels; up to past
// 8 MiB), after a copier header, another header or none; patterned bytes, a HiROM map mode
// byte, then the input's bytes anywhere, mostly in and around the internal header.
void MakeFile(FuzzedDataProvider& input, Bytes& file) {
  const std::size_t banks = input.ConsumeBool() ? input.ConsumeIntegralInRange<std::size_t>(0, 12)
                                                : input.ConsumeIntegralInRange<std::size_t>(0, 0x82);
  const std::size_t headers[] = {0, 0x200, input.ConsumeIntegralInRange<std::size_t>(1, 0xFFFF)};
  const std::size_t header = input.PickValueInArray(headers);
  file.resize(banks * 0x10000 + header);
  FillPattern(file);
  const std::uint8_t mapModes[] = {0x21, 0x31, input.ConsumeIntegral<std::uint8_t>()};
  if (header + 0xFFD5 < file.size()) file[header + 0xFFD5] = input.PickValueInArray(mapModes);
  while (input.remaining_bytes() > 0 && !file.empty()) {
    const std::size_t anywhere = input.ConsumeIntegral<std::size_t>() % file.size();
    const std::size_t places[] = {header + 0xFFB0 + input.ConsumeIntegralInRange<std::size_t>(0, 0x4F), anywhere,
                                  file.size() - 1 - input.ConsumeIntegralInRange<std::size_t>(0, 0xFF)};
    std::size_t at = input.PickValueInArray(places);
    for (std::uint8_t byte : input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(1, 8)))
      if (at < file.size()) file[at++] = byte;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const bool storeTheSum = input.ConsumeBool();  // so that Good comes up as often as Stale
  Bytes& file = ProcessMemoryFiles().Contents(ImagePath);
  MakeFile(input, file);
  Expected expected = Oracle(file);
  if (storeTheSum && (expected.Result == Verdict::Good || expected.Result == Verdict::Stale)) {
    const std::size_t at = expected.Header;
    const unsigned complement = expected.Sum ^ 0xFFFFu;
    file[at + 0xFFDC] = static_cast<std::uint8_t>(complement & 0xFF);
    file[at + 0xFFDD] = static_cast<std::uint8_t>(complement >> 8);
    file[at + 0xFFDE] = static_cast<std::uint8_t>(expected.Sum & 0xFF);
    file[at + 0xFFDF] = static_cast<std::uint8_t>(expected.Sum >> 8);
    expected = Oracle(file);
    if (expected.Result != Verdict::Good) std::abort();  // the oracle disagrees with itself
  }

  CRomImage rom;
  std::string error;
  if (!Cli::LoadFileBytes(ImagePath, rom, &error)) std::abort();
  const Cli::ChecksumCheck state = Cli::InspectChecksum(rom);
  if (state.Result != expected.Result) std::abort();
  if (Cli::ChecksumText(state).empty()) std::abort();

  const bool fixed = Cli::FixChecksum(rom, ImagePath, &error);
  if (fixed != state.Checked()) std::abort();
  if (!state.Checked()) {
    if (error.empty() || !std::equal(file.begin(), file.end(), rom.Buffer.get())) std::abort();
    return 0;
  }
  if (state.Computed != expected.Sum || Cli::InspectChecksum(rom).Result != Verdict::Good) std::abort();
  if (!OnlyStoredBytesDiffer(file, rom.Buffer.get(), expected.Header)) std::abort();
  const std::uint8_t* header = rom.Buffer.get() + expected.Header;
  if ((header[0xFFDE] | header[0xFFDF] << 8) != expected.Sum ||
      (header[0xFFDC] | header[0xFFDD] << 8) != (expected.Sum ^ 0xFFFF))
    std::abort();
  return 0;
}
