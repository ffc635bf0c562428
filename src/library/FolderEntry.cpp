#include "library/FolderEntry.h"

#include <windows.h>

namespace library {

bool IsFolderEntry(const std::string& path) {
  bool lastIsSlash = false;
  for (size_t i = 0; i < path.size(); ++i) {
    lastIsSlash = path[i] == '\\';
    if (IsDBCSLeadByte(static_cast<BYTE>(path[i]))) ++i;  // the trail byte is part of it
  }
  return lastIsSlash;
}

std::string AsFolderEntry(const std::string& folder) {
  return IsFolderEntry(folder) ? folder : folder + '\\';
}

}  // namespace library
