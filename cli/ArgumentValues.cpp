#include "cli/ArgumentValues.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <climits>
#include <map>

#include "cli/Printable.h"

namespace Cli {

namespace {

bool EndsWith(const std::string& path, const char* extension) {
  std::string tail = path.substr(path.size() - std::min(path.size(), std::char_traits<char>::length(extension)));
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == extension;
}

}  // namespace

std::optional<int> ParseNumber(const std::string& text) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty()) return std::nullopt;
  long long value = 0;
  for (char c : digits) {
    int digit = -1;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    value = std::min<long long>(value * (hex ? 16 : 10) + digit, INT_MAX);
  }
  return static_cast<int>(value);
}

std::optional<int> ParseValueOrNone(const std::string& text) {
  if (text == "none") return 0xFF;
  return ParseNumber(text);
}

std::vector<FieldEdit> ParsePairs(const char* flag, const std::vector<std::string>& items, bool noneAllowed,
                                  const char* word) {
  std::vector<FieldEdit> pairs;
  std::map<int, bool> seen;
  for (const std::string& item : items) {
    const auto equals = item.find('=');
    std::optional<int> pair = equals == std::string::npos ? std::nullopt : ParseNumber(item.substr(0, equals));
    std::optional<int> value;
    if (pair) value = noneAllowed ? ParseValueOrNone(item.substr(equals + 1)) : ParseNumber(item.substr(equals + 1));
    if (!pair || !value)
      throw CLI::ValidationError(flag, std::string("takes PAIR=") + word + (noneAllowed ? "|none" : "") +
                                           " with whole numbers, as " + flag + (noneAllowed ? " 2=none" : " 2=10") +
                                           "; got \"" + Printable(item) + "\"");
    if (seen[*pair]) throw CLI::ValidationError(flag, "names pair " + Printable(item.substr(0, equals)) + " twice");
    seen[*pair] = true;
    pairs.push_back({nullptr, *pair, *value, item});
  }
  return pairs;
}

void CheckPatchName(const char* option, const std::string& path, bool ips) {
  if (!ips && EndsWith(path, ".ips"))
    throw CLI::ValidationError(option,
                               Printable(path) + " is named .ips: give --ips for an IPS patch (BPS is the default)");
  if (ips && EndsWith(path, ".bps"))
    throw CLI::ValidationError(option, Printable(path) + " is named .bps, but --ips writes an IPS patch");
}

}  // namespace Cli
