#include "picture/PluginText.h"

#include <cstring>

namespace picture {

namespace {
constexpr char kDateKey[] = "DateTimeOriginal=";
constexpr size_t kDateKeySize = sizeof kDateKey - 1;
}  // namespace

std::string InfoTextOf(const void* block, size_t size) {
  if (block == nullptr) return std::string();
  const char* text = static_cast<const char*>(block);
  const size_t bounded = size < kMaxInfoText ? size : kMaxInfoText;
  const void* nul = std::memchr(text, '\0', bounded);
  return std::string(text, nul ? static_cast<const char*>(nul) - text : bounded);
}

// Lines end at CR or LF: neither is ever the second byte of a Shift-JIS
// character, so every line starts on a character.
bool DateInInfoText(const std::string& text, TakenTime& out) {
  size_t line = 0;
  while (line < text.size()) {
    size_t end = text.find_first_of("\r\n", line);
    if (end == std::string::npos) end = text.size();
    if (end - line >= kDateKeySize && text.compare(line, kDateKeySize, kDateKey) == 0)
      return ParseExifDate(text.data() + line + kDateKeySize, end - line - kDateKeySize, out);
    line = end + 1;
  }
  return false;
}

}  // namespace picture
