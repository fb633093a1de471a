// make-sample-image: writes a synthetic ROM image that the editor can load.

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

#include "tools/SampleImage.h"

namespace {

constexpr const char* Usage =
    "usage: make-sample-image [--size BYTES] [--header] [--six-slot] [--variant N] [--internal-header] OUTPUT\n"
    "  --size BYTES  ROM bytes, decimal or 0x-hex (default 3 MiB)\n"
    "  --header      put 512 extra bytes before the ROM\n"
    "  --six-slot    six-slot records instead of five\n"
    "  --variant N   another N gives other names and records (default 0)\n"
    "  --internal-header  a HiROM internal header with a good checksum\n";

int BadUsage(const std::string& why) {
  std::cerr << "make-sample-image: " << why << "\n" << Usage;
  return 2;
}

// Whole text as a number, decimal or 0x-hex; nothing else accepted.
bool ParseNumber(const std::string& text, std::uint64_t& value) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty() || digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") != std::string::npos)
    return false;
  errno = 0;
  const unsigned long long parsed = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
  if (errno == ERANGE) return false;
  value = parsed;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  SampleImage::Options options;
  std::string output;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << Usage;
      return 0;
    } else if (arg == "--size" || arg == "--variant") {
      if (i + 1 == argc) return BadUsage(arg + " needs a value");
      std::uint64_t value = 0;
      if (!ParseNumber(argv[++i], value)) return BadUsage("not a number for " + arg + ": " + argv[i]);
      if (arg == "--size") {
        options.RomSize = value;
      } else if (value > static_cast<std::uint64_t>(std::numeric_limits<int>::max())) {
        return BadUsage("variant too large: " + std::string(argv[i]));
      } else {
        options.Variant = static_cast<int>(value);
      }
    } else if (arg == "--header") {
      options.Header = true;
    } else if (arg == "--internal-header") {
      options.InternalHeader = true;
    } else if (arg == "--six-slot") {
      options.Records = SampleImage::Layout::SixSlot;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return BadUsage("unknown option " + arg);
    } else if (!output.empty()) {
      return BadUsage("more than one output file");
    } else {
      output = arg;
    }
  }
  if (output.empty()) return BadUsage("no output file");

  std::vector<std::uint8_t> bytes;
  try {
    bytes = SampleImage::Make(options);
  } catch (const std::invalid_argument& e) {
    return BadUsage(e.what());
  } catch (const std::exception& e) {
    std::cerr << "make-sample-image: " << e.what() << "\n";
    return 1;
  }
  std::string error;
  if (!SampleImage::WriteFile(output, bytes, &error)) {
    std::cerr << "make-sample-image: " << error << "\n";
    return 1;
  }
  std::cout << output << ": " << bytes.size() << " bytes, header " << SampleImage::HeaderSizeFor(bytes.size()) << ", "
            << (options.Records == SampleImage::Layout::SixSlot ? "six" : "five") << "-slot records, variant "
            << options.Variant << "\n";
  return 0;
}
