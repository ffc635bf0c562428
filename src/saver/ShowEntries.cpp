#include "saver/ShowEntries.h"

#include <algorithm>
#include <cctype>

#include "library/FolderEntry.h"

namespace saver {

namespace {
// n for a key "Image<n>" (any case, decimal digits only); -1 otherwise.
int ImageNumber(const std::string& key) {
  const std::string base = settings::key::Image.name;
  if (key.size() <= base.size() || key.size() > base.size() + 9) return -1;
  for (size_t i = 0; i < base.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(key[i])) != std::tolower(static_cast<unsigned char>(base[i])))
      return -1;
  int n = 0;
  for (size_t i = base.size(); i < key.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(key[i]))) return -1;
    n = n * 10 + (key[i] - '0');
  }
  return n;
}
}  // namespace

ShowEntries::ShowEntries(const SaverSettings& theme) : count_(theme.ImageCount), section_(theme.Entries) {
  static const library::PictureKinds kinds = library::PictureKinds::Installed();
  std::map<std::string, std::shared_ptr<library::FolderWalk>> walkOfFolder;  // one walk per folder
  for (const auto& [key, value] : section_.Entries()) {
    const int n = ImageNumber(key);
    if (n < 0 || n >= count_ || Image(n) != value || value.empty()) continue;  // the first of equal keys counts
    named_.push_back(n);
    if (!library::IsFolderEntry(value)) continue;
    std::shared_ptr<library::FolderWalk>& walk = walkOfFolder[value];
    if (!walk) walk = std::make_shared<library::FolderWalk>(value, kinds);
    walkOf_[n] = walk;
  }
  std::sort(named_.begin(), named_.end());
  named_.erase(std::unique(named_.begin(), named_.end()), named_.end());
}

std::string ShowEntries::Image(int n) const {
  return section_.String(settings::Numbered(settings::key::Image.name, n), settings::key::Image.saver);
}

std::string ShowEntries::Wave(int n) const {
  return section_.String(settings::Numbered(settings::key::Wave.name, n), settings::key::Wave.saver);
}

const library::FolderWalk* ShowEntries::Walk(int n) const {
  const auto it = walkOf_.find(n);
  return it == walkOf_.end() ? nullptr : it->second.get();
}

}  // namespace saver
