// The bytes of a settings file, changed the way the profile functions change
// them: a key written again keeps its line, a new key goes after the last
// line of its section, a new section goes at the end. Lines that are not
// touched keep every byte (line ends, blanks, comments, Shift-JIS text).
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace settings {

class IniText {
 public:
  using Entries = std::vector<std::pair<std::string, std::string>>;

  explicit IniText(const std::string& bytes = std::string());

  void SetValue(const std::string& section, const std::string& key, const std::string& value);
  void EraseSection(const std::string& section);
  // The key's line gone from the section; nothing else moves.
  void EraseKey(const std::string& section, const std::string& key);
  // The section erased, then written anew at the end of the file with these keys in this order.
  void ReplaceSection(const std::string& section, const Entries& entries);

  std::string Bytes() const;

 private:
  struct Range {
    size_t begin, end;  // lines [begin, end): the header and the lines up to the next header
  };
  bool FindSection(const std::string& section, Range& range) const;
  void AppendSection(const std::string& section, const Entries& entries);
  void EndLastLine();

  std::vector<std::string> lines_;  // each with its own line end, the last maybe without
};

}  // namespace settings
