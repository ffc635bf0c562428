#include "saver/ShowEntries.h"

#include "library/FolderEntry.h"

namespace saver {

ShowEntries::ShowEntries(const SaverSettings& theme) : count_(theme.ImageCount), section_(theme.Entries) {
  std::map<std::string, std::shared_ptr<library::FolderWalk>> walkOfFolder;  // one walk per folder
  for (const auto& [n, value] : section_.List(settings::key::Image, count_)) {
    if (value.empty()) continue;
    named_.push_back(n);
    if (!library::IsFolderEntry(value)) continue;
    std::shared_ptr<library::FolderWalk>& walk = walkOfFolder[value];
    if (!walk) walk = std::make_shared<library::FolderWalk>(value, library::PictureKinds::Installed());
    walkOf_[n] = walk;
  }
}

std::string ShowEntries::Image(int n) const { return section_.Read(settings::key::Image, n, settings::Role::Saver); }

std::string ShowEntries::Wave(int n) const { return section_.Read(settings::key::Wave, n, settings::Role::Saver); }

const library::FolderWalk* ShowEntries::Walk(int n) const {
  const auto it = walkOf_.find(n);
  return it == walkOf_.end() ? nullptr : it->second.get();
}

}  // namespace saver
