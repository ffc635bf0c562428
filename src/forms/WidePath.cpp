#include "forms/WidePath.h"

#include <windows.h>

#include <algorithm>

#include "forms/WideText.h"

namespace forms {

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}

std::wstring FromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

}  // namespace

std::string NarrowName(bool folderHoldsWide, const std::wstring& name) {
  std::string ansi;
  if (!folderHoldsWide && ToAnsi(name, ansi)) return ansi;
  return (folderHoldsWide ? std::string() : std::string(1, kWideMark)) + Utf8(name);
}

std::wstring WidePath(const std::string& path) {
  const size_t mark = path.find(kWideMark);
  if (mark == std::string::npos) return FromAnsi(path);
  std::string rest = path.substr(mark + 1);
  rest.erase(std::remove(rest.begin(), rest.end(), kWideMark), rest.end());
  return FromAnsi(path.substr(0, mark)) + FromUtf8(rest);
}

std::string ShownPath(const std::string& path) {
  return HoldsWide(path) ? AnsiFromWide(WidePath(path)) : path;
}

}  // namespace forms
