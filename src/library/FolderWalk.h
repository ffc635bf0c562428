// One folder entry walked on a thread of its own: the folder's own pictures
// in Explorer's order, then each subfolder the same way, depth first. Every
// folder is read once however many junctions or links lead to it, so a loop
// back to a parent ends. The pictures found so far can be read while the
// walk goes on (the first before the walk ends); the object may be dropped
// at any time: the walk then stops soon on its own and nobody waits for it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "library/FolderListing.h"
#include "library/PictureKinds.h"

namespace library {

// What a walk saw besides the pictures it keeps.
struct WalkCounts {
  uint32_t notShown = 0;    // pictures whose path is over MAX_PATH
  uint32_t unreadable = 0;  // folders that could not be read (the root included)
};

class FolderWalk {
 public:
  // Starts walking root (an ANSI folder path, trailing "\" optional); list
  // reads each folder (ListFolder unless a test says otherwise). A walk that
  // raises (memory running out in a huge tree) ends there, keeping what it found.
  FolderWalk(const std::string& root, const PictureKinds& kinds,
             std::function<decltype(ListFolder)> list = ListFolder);
  ~FolderWalk();
  FolderWalk(const FolderWalk&) = delete;
  FolderWalk& operator=(const FolderWalk&) = delete;

  // How far the walk has come, in one look: `found` is final when `done`.
  struct Progress {
    size_t found;
    bool done;
  };
  Progress Now() const;
  // Waits at most ms for the walk to end; true when it has.
  bool WaitDone(DWORD ms) const;
  // Pictures found so far (more may follow); Path(i) for i below it stays the same.
  size_t Count() const;
  std::string Path(size_t i) const;
  std::string RelativePath(size_t i) const;
  WalkCounts Counts() const;
  size_t MemoryBytes() const;

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};

}  // namespace library
