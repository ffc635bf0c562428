// Paths the ANSI code page cannot hold, carried in the program's narrow
// strings: the part the code page holds as it is, then kWideMark, then the
// rest in UTF-8 (a folder walk finds "Café.jpg" or "写真😀.jpg" under an
// ANSI folder). A narrow path without the mark is plain ANSI. Such paths are
// opened by their wide form and never written to the settings file.
#pragma once
#include <string>

namespace forms {

constexpr char kWideMark = '\x01';

inline bool HoldsWide(const std::string& path) { return path.find(kWideMark) != std::string::npos; }

// The name to append to a folder's narrow path: its ANSI form when the folder
// is plain ANSI and the code page holds the name; else UTF-8, after the
// mark unless the folder's path carries it already.
std::string NarrowName(bool folderHoldsWide, const std::wstring& name);

// The path as the wide file functions take it.
std::wstring WidePath(const std::string& path);

// The path for ANSI text (messages, captions of ANSI windows): characters
// the code page lacks become '?'.
std::string ShownPath(const std::string& path);

}  // namespace forms
