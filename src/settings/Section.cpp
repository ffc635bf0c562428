#include "settings/Section.h"

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

int IntegerValue(const std::string& text, int fallback) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    return StrToIntDef("$" + text.substr(2), fallback);
  return StrToIntDef(text, fallback);
}

}  // namespace settings
