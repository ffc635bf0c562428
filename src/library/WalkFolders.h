// The walk over one folder entry: the folder's own pictures in Explorer's
// order, then each subfolder the same way, depth first. Every folder is
// read once however many junctions or links lead to it, so a loop back to a
// parent ends. Runs on whatever thread calls it; FolderWalk runs it in the
// background.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "library/FolderListing.h"
#include "library/PictureKinds.h"
#include "library/PictureList.h"

namespace library {

// What a walk saw besides the pictures it keeps.
struct WalkCounts {
  uint32_t notShown = 0;    // pictures whose path is over MAX_PATH
  uint32_t unreadable = 0;  // folders that could not be read (the root included)
};

// Where the walk hands what it finds, in walk order.
class WalkSink {
 public:
  virtual ~WalkSink() = default;
  virtual uint32_t AddFolder(uint32_t parent, const std::string& name) = 0;
  virtual void AddPicture(uint32_t folder, const std::string& name) = 0;
  virtual void Count(const WalkCounts& counts) = 0;  // the totals so far
};

using FolderLister = std::function<bool(const std::wstring& path, FolderListing& out)>;

// Walks root (an ANSI path; a trailing "\" is optional) until done or until
// stop is set. lister reads one folder (ListFolder unless a test says otherwise).
void WalkFolders(const std::string& root, const PictureKinds& kinds, WalkSink& sink,
                 const std::atomic<bool>& stop, const FolderLister& lister = ListFolder);

// Deepest nesting the walk follows where the system cannot identify folders.
constexpr int kMaxDepth = 128;

}  // namespace library
