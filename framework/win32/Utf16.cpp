#include "framework/win32/Utf16.h"

#include "framework/win32/WindowsApi.h"

std::wstring WidenUtf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

CString NarrowToUtf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
  return CString(std::move(utf8));
}

std::wstring BytesToUnits(std::string_view bytes) {
  std::wstring units(bytes.size(), L'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) units[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
  return units;
}

CString UnitsToBytes(std::wstring_view units) {
  std::string bytes(units.size(), '\0');
  for (std::size_t i = 0; i < units.size(); ++i) bytes[i] = units[i] <= 0xFF ? static_cast<char>(units[i]) : '?';
  return CString(std::move(bytes));
}

CString SystemErrorText(unsigned long code) {
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring_view view(text ? text : L"", n);
  while (!view.empty() && (view.back() == L'\n' || view.back() == L'\r' || view.back() == L'.')) view.remove_suffix(1);
  CString result = view.empty() ? CString("error " + std::to_string(code)) : NarrowToUtf8(view);
  LocalFree(text);
  return result;
}
