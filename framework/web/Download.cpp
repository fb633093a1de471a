// Bytes offered to the user as a download.

#include <emscripten.h>

#include "framework/web/WebPage.h"

namespace {
// The page's JavaScript, which the formatter would take for C++ ("===" became "== =").
// clang-format off
EM_JS(void, PageDownload, (const char* name, const std::uint8_t* bytes, int length, const char* type),
      { TaveroPage.download(UTF8ToString(name), HEAPU8.slice(bytes, bytes + length), UTF8ToString(type)); });
// clang-format on
}  // namespace

namespace WebPage {
void Download(const std::string& name, const std::vector<std::uint8_t>& bytes, const char* mimeType) {
  PageDownload(name.c_str(), bytes.data(), static_cast<int>(bytes.size()), mimeType);
}
}  // namespace WebPage
