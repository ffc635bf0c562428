// One section of the settings file, read in a single call and looked up in
// memory: a theme with thousands of numbered keys opens as fast as a small
// one, and only the keys that are in the file are ever listed.
#pragma once
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "settings/Keys.h"

namespace settings {

class Section {
 public:
  Section() = default;
  // Parses the "key=value\0key=value\0\0" block the profile functions give.
  // Blanks around key and value go, and one pair of enclosing quotes, as
  // for a single key's read; the first of two equal keys counts.
  static Section Parse(const char* block, size_t size);

  // The value, or nullptr when the key (compared ignoring ASCII case) is absent.
  const std::string* Find(const std::string& key) const;
  std::string String(const std::string& key, const std::string& fallback) const;
  // "0x1F" reads as hexadecimal; text that does not convert gives the default.
  int Integer(const std::string& key, int fallback) const;
  bool Bool(const std::string& key, bool fallback) const { return Integer(key, fallback ? 1 : 0) != 0; }

  // Reads through the key catalogue, with the default of the given reader.
  std::string Read(const StrKey& key, Role role) const { return String(key.name, key.Default(role)); }
  int Read(const IntKey& key, Role role) const { return Integer(key.name, key.Default(role)); }
  bool Read(const BoolKey& key, Role role) const { return Bool(key.name, key.Default(role)); }
  bool Read(const OnlyOneKey& key, Role) const { return Integer(key.name, 0) == 1; }
  // Entry n of a numbered list ("Image", "Wave", "Midi").
  std::string Read(const StrKey& list, int n, Role role) const {
    return String(Numbered(list.name, n), list.Default(role));
  }
  // The entries list0 .. list<count-1> that are in the section, in number
  // order: keys spelt list + n in plain decimal (any case, no leading zeros).
  std::map<int, std::string> List(const StrKey& list, int count) const;

  // The keys in file order, each once.
  const std::vector<std::pair<std::string, std::string>>& Entries() const { return entries_; }

 private:
  std::vector<std::pair<std::string, std::string>> entries_;
  std::unordered_map<std::string, size_t> index_;  // lower-case key -> entry
};

// The integer a stored text stands for: "0x" or "$" for hexadecimal, else decimal.
int IntegerValue(const std::string& text, int fallback);

}  // namespace settings
