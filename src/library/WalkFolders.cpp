#include "library/WalkFolders.h"

#include <windows.h>

#include <set>
#include <vector>

#include "forms/WidePath.h"
#include "library/FolderEntry.h"

namespace library {

namespace {

// A folder still to be read. Names the code page cannot hold are kept in
// their wide form (forms/WidePath.h); folders whose path goes over MAX_PATH
// are still read, so their pictures are counted, but none of them is kept.
struct Pending {
  std::wstring path;  // with the trailing backslash
  uint32_t folder;    // PictureList::kNoFolder when unreachable
  size_t narrowLength;  // bytes of the folder's narrow path
  int depth;
  bool wide;          // the narrow path carries the wide mark
};

class Walk {
 public:
  Walk(const PictureKinds& kinds, WalkSink& sink, const FolderLister& lister)
      : kinds_(kinds), sink_(sink), lister_(lister) {}

  void Run(std::string root, const std::atomic<bool>& stop) {
    if (root.empty()) return Unreadable();
    root = AsFolderEntry(root);
    pending_.push_back({FromAnsi(root), sink_.AddFolder(PictureList::kNoFolder, root), root.size(), 0, false});
    while (!pending_.empty() && !stop.load()) {
      Pending next = std::move(pending_.back());
      pending_.pop_back();
      Read(next);
    }
  }

 private:
  void Unreadable() {
    ++counts_.unreadable;
    sink_.Count(counts_);
  }

  bool FirstVisit(const Pending& p) {
    FolderIdentity identity;
    if (!IdentifyFolder(p.path, identity)) return p.depth < kMaxDepth;
    return visited_.insert(identity).second;
  }

  void Read(const Pending& p) {
    if (!FirstVisit(p)) return;
    FolderListing listing;
    if (!lister_(p.path, listing)) return Unreadable();
    const bool reachable = p.folder != PictureList::kNoFolder;
    for (const std::wstring& file : listing.files) {
      if (!kinds_.IsPicture(file)) continue;
      const std::string name = forms::NarrowName(p.wide, file);
      if (reachable && p.narrowLength + name.size() < MAX_PATH)
        sink_.AddPicture(p.folder, name);
      else
        ++counts_.notShown;
    }
    sink_.Count(counts_);
    // Pushed last first, so the first subfolder is read next.
    for (auto it = listing.folders.rbegin(); it != listing.folders.rend(); ++it) {
      const std::string name = forms::NarrowName(p.wide, *it + L"\\");
      const bool childReachable = reachable && p.narrowLength + name.size() < MAX_PATH;
      const uint32_t folder = childReachable ? sink_.AddFolder(p.folder, name) : PictureList::kNoFolder;
      pending_.push_back({p.path + *it + L"\\", folder, p.narrowLength + name.size(), p.depth + 1,
                          p.wide || forms::HoldsWide(name)});
    }
  }

  const PictureKinds& kinds_;
  WalkSink& sink_;
  const FolderLister& lister_;
  std::vector<Pending> pending_;
  std::set<FolderIdentity> visited_;
  WalkCounts counts_;
};

}  // namespace

void WalkFolders(const std::string& root, const PictureKinds& kinds, WalkSink& sink,
                 const std::atomic<bool>& stop, const FolderLister& lister) {
  Walk(kinds, sink, lister).Run(root, stop);
}

}  // namespace library
