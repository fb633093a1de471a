#include "cli/Printable.h"

#include <cstdio>

namespace Cli {

std::string Printable(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      shown.push_back(c);
    } else if (c == '\n') {
      shown.append("\\n");
    } else if (c == '\r') {
      shown.append("\\r");
    } else if (c == '\t') {
      shown.append("\\t");
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      shown.append(escape);
    }
  }
  return shown;
}

}  // namespace Cli
