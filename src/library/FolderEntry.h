// A folder entry of a theme's image list: "Image<n>=<folder path>\", the
// path with a trailing backslash, beside the entries that name one file.
#pragma once
#include <string>

namespace library {

// True when the ANSI path ends in a backslash that is a character of its
// own (not the second byte of a double-byte character such as "表").
bool IsFolderEntry(const std::string& path);

// The folder entry for a folder path: the path with one trailing backslash.
std::string AsFolderEntry(const std::string& folder);

}  // namespace library
