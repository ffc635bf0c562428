// Path text in the ANSI code page. A double-byte character may end in the
// byte 0x5C ("表" is 95 5C), so "ends in a backslash" must step over
// characters, not look at the last byte.
#pragma once
#include <string>

namespace forms {

bool EndsWithBackslash(const std::string& path);
// path with a "\" appended unless it is empty or already ends in one.
std::string WithTrailingBackslash(const std::string& path);
// The part of path up to and including its last "\\" (empty when it has none).
std::string FolderOf(const std::string& path);
// Directory of the system DLLs with a trailing backslash.
std::string SystemDirectory();

}  // namespace forms
