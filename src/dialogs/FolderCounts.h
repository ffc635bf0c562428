// The number of pictures in each folder entry of the image list, counted in
// the background (one walk per folder, as the show would walk it). The
// list's texts follow the counts each time Refresh runs on the dialog's timer.
#pragma once
#include <map>
#include <memory>
#include <string>

#include "forms/ListBox.h"
#include "library/FolderWalk.h"

class FolderCounts {
 public:
  explicit FolderCounts(forms::ListBox& list) : list_(list) {}

  // Brings every folder item's text up to date, starting a count for a
  // folder seen first and dropping counts of entries no longer listed.
  // True while a count still runs.
  bool Refresh();
  // The walk counting folder entry `entry`; nullptr before its first Refresh.
  const library::FolderWalk* Walk(const std::string& entry) const;

 private:
  forms::ListBox& list_;
  std::map<std::string, std::unique_ptr<library::FolderWalk>> walks_;
};

// "(120枚)", "(120枚 数えています)", "(120枚・表示できない3枚)", "(読めません)".
std::string CountText(size_t found, const library::WalkCounts& counts, bool done);
