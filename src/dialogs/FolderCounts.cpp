#include "dialogs/FolderCounts.h"

#include <set>

#include "dialogs/FileLists.h"
#include "library/FolderEntry.h"

std::string CountText(size_t found, const library::WalkCounts& counts, bool done) {
  if (done && found == 0 && counts.notShown == 0 && counts.unreadable > 0) return "(読めません)";
  std::string text = "(" + std::to_string(found) + "枚";
  if (counts.notShown > 0) text += "・表示できない" + std::to_string(counts.notShown) + "枚";
  if (!done) text += " 数えています";
  return text + ")";
}

bool FolderCounts::Refresh() {
  const library::PictureKinds& kinds = library::PictureKinds::Installed();
  bool running = false;
  std::set<std::string> listed;
  for (int i = 0; i < list_.Count(); ++i) {
    const std::string item = list_.Item(i);
    const std::string entry = EntryOf(item);
    if (!library::IsFolderEntry(entry)) continue;
    listed.insert(entry);
    std::unique_ptr<library::FolderWalk>& walk = walks_[entry];
    if (!walk) walk = std::make_unique<library::FolderWalk>(entry, kinds);
    const auto [found, done] = walk->Now();
    running = running || !done;
    const std::string text = entry + "\t" + CountText(found, walk->Counts(), done);
    if (text != item) ReplaceItem(list_, i, text);
  }
  for (auto it = walks_.begin(); it != walks_.end();)
    it = listed.count(it->first) ? std::next(it) : walks_.erase(it);
  return running;
}

const library::FolderWalk* FolderCounts::Walk(const std::string& entry) const {
  const auto it = walks_.find(entry);
  return it == walks_.end() ? nullptr : it->second.get();
}
