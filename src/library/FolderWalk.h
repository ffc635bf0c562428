// One folder entry walked on a thread of its own. The pictures found so far
// can be read while the walk goes on (the first before the walk ends); the
// object may be dropped at any time: the walk then stops soon on its own and
// nobody waits for it.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "library/PictureKinds.h"
#include "library/WalkFolders.h"

namespace library {

class FolderWalk {
 public:
  // Starts walking root (an ANSI folder path, trailing "\" optional);
  // lister reads each folder.
  FolderWalk(const std::string& root, const PictureKinds& kinds, FolderLister lister = ListFolder);
  ~FolderWalk();
  FolderWalk(const FolderWalk&) = delete;
  FolderWalk& operator=(const FolderWalk&) = delete;

  bool Done() const;
  // How far the walk has come, in one look: `found` is final when `done`.
  struct Progress {
    size_t found;
    bool done;
  };
  Progress Now() const;
  // Waits at most ms for the walk to end; true when it has.
  bool WaitDone(DWORD ms) const;
  // Pictures found so far; Path(i) for i below it stays the same.
  size_t Count() const;
  std::string Path(size_t i) const;
  std::string RelativePath(size_t i) const;
  WalkCounts Counts() const;
  size_t MemoryBytes() const;

 private:
  struct Shared;
  static void Run(std::shared_ptr<Shared> shared, std::string root, PictureKinds kinds, FolderLister lister);
  std::shared_ptr<Shared> shared_;
};

}  // namespace library
