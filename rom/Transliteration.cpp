#include "rom/Transliteration.h"

#include <cstdint>

#include "rom/GameText.h"

namespace GameText {

namespace {

constexpr char HexDigit[] = "0123456789ABCDEF";

// The character a byte is written as, or 0 when it is written as an escape.
char Bare(std::uint8_t byte) {
  if (byte >= UpperA && byte < UpperA + 26) return static_cast<char>('A' + (byte - UpperA));
  if (byte >= LowerA && byte < LowerA + 26) return static_cast<char>('a' + (byte - LowerA));
  if (byte >= Digit0 && byte < Digit0 + 10) return static_cast<char>('0' + (byte - Digit0));
  if (byte == Blank) return ' ';
  return 0;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string Transliterate(std::string_view bytes) {
  std::string text;
  for (char c : bytes) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (char bare = Bare(byte)) {
      text += bare;
    } else {
      text += '{';
      text += HexDigit[byte >> 4];
      text += HexDigit[byte & 0x0F];
      text += '}';
    }
  }
  return text;
}

bool Untransliterate(std::string_view text, std::string& bytes, std::string* error) {
  bytes.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    int code = -1;
    if (c >= 'A' && c <= 'Z')
      code = UpperA + (c - 'A');
    else if (c >= 'a' && c <= 'z')
      code = LowerA + (c - 'a');
    else if (c >= '0' && c <= '9')
      code = Digit0 + (c - '0');
    else if (c == ' ')
      code = Blank;
    else if (c == '{') {
      const int high = i + 3 < text.size() ? HexValue(text[i + 1]) : -1;
      const int low = i + 3 < text.size() ? HexValue(text[i + 2]) : -1;
      if (high < 0 || low < 0 || text[i + 3] != '}') {
        if (error)
          *error = "character " + std::to_string(i + 1) + ": '{' must start an escape of two hex digits, as {A5}";
        return false;
      }
      code = high * 16 + low;
      i += 3;
    } else {
      if (error) {
        const auto byte = static_cast<std::uint8_t>(c);
        std::string shown = byte >= 0x20 && byte < 0x7F
                                ? std::string("'") + c + "'"
                                : std::string("byte 0x") + HexDigit[byte >> 4] + HexDigit[byte & 0x0F];
        *error = "character " + std::to_string(i + 1) + ": " + shown +
                 " is not a letter, digit or space; write other codes as {XX}";
      }
      return false;
    }
    bytes += static_cast<char>(code);
  }
  return true;
}

std::string HexBytes(std::string_view bytes) {
  std::string text;
  for (char c : bytes) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (!text.empty()) text += ' ';
    text += HexDigit[byte >> 4];
    text += HexDigit[byte & 0x0F];
  }
  return text;
}

}  // namespace GameText
