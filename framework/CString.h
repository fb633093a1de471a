#pragma once
// A byte string. It holds GameText (glyph codes, no 0x00 once stored) and UTF-8 paths;
// it never interprets its bytes.

#include <cstddef>
#include <string>
#include <string_view>

class CString {
 public:
  CString() = default;
  CString(const char* text) : Bytes(text ? text : "") {}  // zero-terminated
  CString(const char* bytes, std::size_t length) : Bytes(bytes, length) {}
  explicit CString(std::string_view bytes) : Bytes(bytes) {}
  explicit CString(std::string bytes) : Bytes(std::move(bytes)) {}

  int GetLength() const { return static_cast<int>(Bytes.size()); }
  bool IsEmpty() const { return Bytes.empty(); }
  void Empty() { Bytes.clear(); }
  unsigned char GetAt(int index) const { return static_cast<unsigned char>(Bytes[static_cast<std::size_t>(index)]); }

  // Zero-terminated, as the controls take item texts.
  operator const char*() const { return Bytes.c_str(); }
  std::string_view View() const { return Bytes; }
  const std::string& Str() const { return Bytes; }

  CString& operator+=(const CString& more) {
    Bytes += more.Bytes;
    return *this;
  }
  CString& operator+=(char byte) {
    Bytes += byte;
    return *this;
  }
  friend CString operator+(CString left, const CString& right) { return left += right; }
  friend bool operator==(const CString& a, const CString& b) { return a.Bytes == b.Bytes; }

 private:
  std::string Bytes;
};
