#include "settings/Convert.h"

#include <cstdint>

#include "forms/Error.h"

namespace settings {

namespace {
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

bool TryStrToInt(const std::string& text, int& value) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size()) return false;

  uint64_t magnitude = 0;
  if (text[i] == '$') {
    // Hexadecimal covers the full 32 bits: $FFFFFFFF is -1.
    if (++i >= text.size()) return false;
    for (; i < text.size(); ++i) {
      int d = HexDigit(text[i]);
      if (d < 0) return false;
      magnitude = magnitude * 16 + static_cast<uint64_t>(d);
      if (magnitude > 0xFFFFFFFFull) return false;
    }
    uint32_t bits = static_cast<uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    value = static_cast<int32_t>(bits);
    return true;
  }
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');
    if (magnitude > 2147483648ull) return false;
  }
  if (!negative && magnitude > 2147483647ull) return false;
  int64_t v = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  value = static_cast<int>(v);
  return true;
}

int StrToIntDef(const std::string& text, int fallback) {
  int v;
  return TryStrToInt(text, v) ? v : fallback;
}

int StrToInt(const std::string& text) {
  int v;
  if (!TryStrToInt(text, v)) throw forms::Error(forms::Format("'%s' は整数ではありません", text.c_str()));
  return v;
}

}  // namespace settings
