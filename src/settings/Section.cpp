#include "settings/Section.h"

#include <windows.h>

#include "settings/Convert.h"

namespace settings {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trimmed(const char* begin, const char* end) {
  while (begin < end && IsBlank(*begin)) ++begin;
  while (end > begin && IsBlank(end[-1])) --end;
  return std::string(begin, end);
}

std::string Unquoted(std::string value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// The number n of a key spelt base + n in plain decimal ("Image12"), or -1.
int NumberAfter(const char* base, const std::string& name) {
  const size_t len = std::char_traits<char>::length(base);
  if (name.size() <= len || name.size() > len + 10 || lstrcmpiA(name.substr(0, len).c_str(), base) != 0) return -1;
  const std::string digits = name.substr(len);
  if (digits.find_first_not_of("0123456789") != std::string::npos || (digits.size() > 1 && digits[0] == '0'))
    return -1;
  const long long n = std::stoll(digits);
  return n <= 0x7FFFFFFF ? static_cast<int>(n) : -1;
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}
}  // namespace

Section Section::Parse(const char* block, size_t size) {
  Section s;
  const char* end = block + size;
  for (const char* line = block; line < end && *line;) {
    const char* stop = line;
    while (stop < end && *stop) ++stop;
    const char* eq = line;
    while (eq < stop && *eq != '=') ++eq;
    std::string key = Trimmed(line, eq);
    std::string value = eq < stop ? Unquoted(Trimmed(eq + 1, stop)) : std::string();
    if (!key.empty() && s.index_.emplace(Lower(key), s.entries_.size()).second)
      s.entries_.emplace_back(std::move(key), std::move(value));
    line = stop + 1;
  }
  return s;
}

const std::string* Section::Find(const std::string& key) const {
  auto it = index_.find(Lower(key));
  return it == index_.end() ? nullptr : &entries_[it->second].second;
}

std::string Section::String(const std::string& key, const std::string& fallback) const {
  const std::string* value = Find(key);
  return value ? *value : fallback;
}

int Section::Integer(const std::string& key, int fallback) const {
  const std::string* value = Find(key);
  return value ? IntegerValue(*value, fallback) : fallback;
}

std::map<int, std::string> Section::List(const StrKey& list, int count) const {
  std::map<int, std::string> found;
  for (const auto& [name, value] : entries_) {
    const int n = NumberAfter(list.name, name);
    if (n >= 0 && n < count) found.emplace(n, value);
  }
  return found;
}

int IntegerValue(const std::string& text, int fallback) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    return StrToIntDef("$" + text.substr(2), fallback);
  return StrToIntDef(text, fallback);
}

}  // namespace settings
