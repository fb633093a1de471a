// Bytes offered to the user as a download.

#include "framework/web/PageCalls.h"
#include "framework/web/WebPage.h"

namespace WebPage {
void Download(const std::string& name, const std::vector<std::uint8_t>& bytes, const char* mimeType) {
  page_download(name.c_str(), bytes.data(), static_cast<int>(bytes.size()), mimeType);
}
}  // namespace WebPage
