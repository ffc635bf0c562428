// The theme's image entries as the show takes them: a file entry is one
// picture; a folder entry (Image<n>=<folder>\) stands for the pictures a
// walk of the folder finds. Every folder is walked once per start, on a
// thread of its own, beginning when the show is built (while the title and
// the first delay run); its pictures can be taken while the walk goes on.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "library/FolderWalk.h"
#include "saver/Settings.h"

namespace saver {

class ShowEntries {
 public:
  explicit ShowEntries(const SaverSettings& theme);

  int Count() const { return count_; }  // ImageCount
  std::string Image(int n) const;
  std::string Wave(int n) const;
  // The walk of folder entry n; nullptr for a file entry or a missing one.
  const library::FolderWalk* Walk(int n) const;
  // Entries with a picture or a folder named, in number order (never more
  // than the section has keys, whatever ImageCount says).
  const std::vector<int>& Named() const { return named_; }
  bool HasFolders() const { return !walkOf_.empty(); }

 private:
  int count_;
  settings::Section section_;
  std::vector<int> named_;
  std::map<int, std::shared_ptr<library::FolderWalk>> walkOf_;  // entry -> its folder's walk
};

}  // namespace saver
