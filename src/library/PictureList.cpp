#include "library/PictureList.h"

namespace library {

uint32_t PictureList::AddFolder(uint32_t parent, const std::string& name) {
  folders_.push_back({parent, static_cast<uint32_t>(text_.size())});
  text_.append(name).push_back('\0');
  return static_cast<uint32_t>(folders_.size() - 1);
}

void PictureList::AddPicture(uint32_t folder, const std::string& name) {
  pictures_.push_back({folder, static_cast<uint32_t>(text_.size())});
  text_.append(name).push_back('\0');
}

void PictureList::AppendFolderPath(uint32_t folder, bool withRoot, std::string& out) const {
  const Row& row = folders_[folder];
  if (row.folder == kNoFolder) {
    if (withRoot) out += text_.c_str() + row.name;
    return;
  }
  AppendFolderPath(row.folder, withRoot, out);
  out += text_.c_str() + row.name;
}

std::string PictureList::Path(size_t i) const {
  std::string out;
  AppendFolderPath(pictures_[i].folder, true, out);
  return out + (text_.c_str() + pictures_[i].name);
}

std::string PictureList::RelativePath(size_t i) const {
  std::string out;
  AppendFolderPath(pictures_[i].folder, false, out);
  return out + (text_.c_str() + pictures_[i].name);
}

size_t PictureList::MemoryBytes() const {
  return sizeof *this + (folders_.capacity() + pictures_.capacity()) * sizeof(Row) + text_.capacity();
}

}  // namespace library
