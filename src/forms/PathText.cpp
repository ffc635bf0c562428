#include "forms/PathText.h"

#include <windows.h>

namespace forms {

bool EndsWithBackslash(const std::string& path) {
  bool last = false;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsDBCSLeadByte(c) && i + 1 < path.size()) {
      ++i;  // the trail byte belongs to the character
      last = false;
    } else {
      last = c == '\\';
    }
  }
  return last;
}

std::string WithTrailingBackslash(const std::string& path) {
  if (path.empty() || EndsWithBackslash(path)) return path;
  return path + '\\';
}

std::string FolderOf(const std::string& path) {
  size_t end = 0;
  for (const char* p = path.c_str(); *p; p = CharNextA(p))
    if (*p == '\\') end = static_cast<size_t>(p - path.c_str()) + 1;
  return path.substr(0, end);
}

std::string SystemDirectory() {
  char buf[MAX_PATH];
  UINT n = GetSystemDirectoryA(buf, MAX_PATH);
  return WithTrailingBackslash(std::string(buf, n < MAX_PATH ? n : 0));
}

}  // namespace forms
