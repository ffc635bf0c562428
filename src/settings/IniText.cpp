#include "settings/IniText.h"

#include <windows.h>

namespace settings {

namespace {
const char kLineEnd[] = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The line without blanks at either end and without its line end.
std::string Content(const std::string& line) {
  size_t b = 0, e = line.size();
  while (e > b && (line[e - 1] == '\n' || line[e - 1] == '\r')) --e;
  while (b < e && IsBlank(line[b])) ++b;
  while (e > b && IsBlank(line[e - 1])) --e;
  return line.substr(b, e - b);
}

// Names compare as the profile functions compare them: ignoring case.
bool SameName(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

bool IsHeader(const std::string& content, std::string* name) {
  if (content.empty() || content[0] != '[') return false;
  size_t close = content.find(']');
  if (name) *name = content.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  return true;
}

// The key of a "key=value" line, or "" for any other line.
std::string KeyOf(const std::string& content) {
  size_t eq = content.find('=');
  if (eq == std::string::npos || content[0] == ';') return std::string();
  size_t e = eq;
  while (e > 0 && IsBlank(content[e - 1])) --e;
  return content.substr(0, e);
}

std::string Line(const std::string& key, const std::string& value) { return key + "=" + value + kLineEnd; }
}  // namespace

IniText::IniText(const std::string& bytes) {
  size_t start = 0;
  while (start < bytes.size()) {
    size_t nl = bytes.find('\n', start);
    size_t end = nl == std::string::npos ? bytes.size() : nl + 1;
    lines_.push_back(bytes.substr(start, end - start));
    start = end;
  }
}

bool IniText::FindSection(const std::string& section, Range& range) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    std::string name;
    if (!IsHeader(Content(lines_[i]), &name) || !SameName(name, section)) continue;
    size_t j = i + 1;
    while (j < lines_.size() && !IsHeader(Content(lines_[j]), nullptr)) ++j;
    range = {i, j};
    return true;
  }
  return false;
}

void IniText::EraseKey(const std::string& section, const std::string& key) {
  Range r;
  if (!FindSection(section, r)) return;
  for (size_t i = r.begin + 1; i < r.end; ++i) {
    const std::string name = KeyOf(Content(lines_[i]));
    if (!name.empty() && SameName(name, key)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

void IniText::SetValue(const std::string& section, const std::string& key, const std::string& value) {
  Range r;
  if (!FindSection(section, r)) {
    AppendSection(section, {{key, value}});
    return;
  }
  size_t last = r.begin;  // the last line of the section that holds anything
  for (size_t i = r.begin + 1; i < r.end; ++i) {
    const std::string content = Content(lines_[i]);
    if (!content.empty()) last = i;
    const std::string name = KeyOf(content);
    if (!name.empty() && SameName(name, key)) {
      lines_[i] = Line(name, value);
      return;
    }
  }
  if (lines_[last].empty() || lines_[last].back() != '\n') lines_[last] += kLineEnd;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1), Line(key, value));
}

void IniText::EraseSection(const std::string& section) {
  Range r;
  while (FindSection(section, r))
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(r.begin),
                 lines_.begin() + static_cast<std::ptrdiff_t>(r.end));
}

void IniText::ReplaceSection(const std::string& section, const Entries& entries) {
  EraseSection(section);
  AppendSection(section, entries);
}

void IniText::AppendSection(const std::string& section, const Entries& entries) {
  EndLastLine();
  lines_.push_back("[" + section + "]" + kLineEnd);
  for (const auto& [key, value] : entries) lines_.push_back(Line(key, value));
}

void IniText::EndLastLine() {
  if (!lines_.empty() && lines_.back().back() != '\n') lines_.back() += kLineEnd;
}

std::string IniText::Bytes() const {
  std::string out;
  for (const std::string& line : lines_) out += line;
  return out;
}

}  // namespace settings
