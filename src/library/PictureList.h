// The pictures a folder walk found, held compactly: each folder's name is
// stored once with its parent, each picture as its folder and its own name,
// so 100,000 pictures take a few megabytes instead of 100,000 full paths.
// Not synchronised: FolderWalk guards it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace library {

class PictureList {
 public:
  static constexpr uint32_t kNoFolder = 0xFFFFFFFFu;

  // A folder below parent (name ends in "\"); for the walk's root, parent is
  // kNoFolder and name the root's whole path. Returns its number.
  uint32_t AddFolder(uint32_t parent, const std::string& name);
  void AddPicture(uint32_t folder, const std::string& name);

  size_t Count() const { return pictures_.size(); }
  // The full path of picture i (i < Count()).
  std::string Path(size_t i) const;
  // The path of picture i below the root ("2024\05\img1.jpg").
  std::string RelativePath(size_t i) const;
  // The bytes the list holds (its reserved room included).
  size_t MemoryBytes() const;

 private:
  struct Row {
    uint32_t folder;  // pictures: their folder; folders: their parent
    uint32_t name;    // offset into text_
  };
  void AppendFolderPath(uint32_t folder, bool withRoot, std::string& out) const;

  std::vector<Row> folders_;
  std::vector<Row> pictures_;
  std::string text_;  // every name, each ended by a zero byte
};

}  // namespace library
