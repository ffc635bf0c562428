#include "forms/WidePath.h"

#include <windows.h>

#include <algorithm>

#include "forms/WideText.h"

namespace forms {

std::string NarrowName(bool folderHoldsWide, const std::wstring& name) {
  std::string ansi;
  if (!folderHoldsWide && ToAnsi(name, ansi)) return ansi;
  return (folderHoldsWide ? std::string() : std::string(1, kWideMark)) + Narrow(name, CP_UTF8);
}

std::wstring WidePath(const std::string& path) {
  const size_t mark = path.find(kWideMark);
  if (mark == std::string::npos) return FromAnsi(path);
  std::string rest = path.substr(mark + 1);
  rest.erase(std::remove(rest.begin(), rest.end(), kWideMark), rest.end());
  return FromAnsi(path.substr(0, mark)) + Widen(rest, CP_UTF8);
}

std::string ShownPath(const std::string& path) {
  return HoldsWide(path) ? AnsiFromWide(WidePath(path)) : path;
}

}  // namespace forms
