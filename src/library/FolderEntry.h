// A folder entry of a theme's image list: "Image<n>=<folder path>\", the
// path with a trailing backslash, beside the entries that name one file.
// The backslash follows the path-text rule (forms/PathText.h): one that is
// the second byte of a double-byte character such as "表" does not count.
#pragma once
#include <string>

#include "forms/PathText.h"

namespace library {

inline bool IsFolderEntry(const std::string& path) { return forms::EndsWithBackslash(path); }

// The folder entry for a folder path: the path with one trailing backslash.
inline std::string AsFolderEntry(const std::string& folder) { return forms::WithTrailingBackslash(folder); }

}  // namespace library
