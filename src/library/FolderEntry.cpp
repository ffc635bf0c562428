#include "library/FolderEntry.h"

#include "forms/PathText.h"

namespace library {

bool IsFolderEntry(const std::string& path) { return forms::EndsWithBackslash(path); }

std::string AsFolderEntry(const std::string& folder) {
  return IsFolderEntry(folder) ? folder : folder + '\\';
}

}  // namespace library
