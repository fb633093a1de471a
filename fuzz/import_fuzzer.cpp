// What tavero-cli reads from files that people pass around: an esper table as JSON and
// names as transliterated text. Anything is either taken or refused with a reason; what
// is taken holds only byte values, and a name converts back to the same text.

#include <cstdlib>
#include <string>
#include <vector>

#include "cli/EsperJson.h"
#include "rom/Transliteration.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  std::vector<Cli::EsperValues> espers;
  std::string error;
  if (Cli::ParseEspersJson(text, espers, &error)) {
    if (espers.size() != 27) std::abort();
    for (const Cli::EsperValues& esper : espers)
      for (int value : esper.Slots)
        if (value < 0 || value > 0xFF) std::abort();
  } else if (error.empty()) {
    std::abort();  // a refusal always says why
  }

  std::string bytes;
  if (GameText::Untransliterate(text, bytes, &error)) {
    std::string again;
    if (!GameText::Untransliterate(GameText::Transliterate(bytes), again, &error) || again != bytes) std::abort();
  }
  return 0;
}
