#include "library/FolderWalk.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <set>
#include <vector>

#include "forms/Thread.h"
#include "forms/WidePath.h"
#include "library/FolderEntry.h"
#include "library/PictureList.h"

namespace library {

namespace {

// Deepest nesting the walk follows where the system cannot identify folders.
constexpr int kMaxDepth = 128;

// A folder still to be read. Names the code page cannot hold are kept in
// their wide form (forms/WidePath.h); folders whose path goes over MAX_PATH
// are still read, so their pictures are counted, but none of them is kept.
struct Pending {
  std::wstring path;    // with the trailing backslash
  uint32_t folder;      // PictureList::kNoFolder when unreachable
  size_t narrowLength;  // bytes of the folder's narrow path
  int depth;
  bool wide;            // the narrow path carries the wide mark
};

bool Reachable(const Pending& p, const std::string& name) {
  return p.folder != PictureList::kNoFolder && p.narrowLength + name.size() < MAX_PATH;
}

}  // namespace

// What the walk's thread and the readers share; the thread alone writes.
struct FolderWalk::Shared {
  mutable std::mutex mutex;
  mutable std::condition_variable finished;
  PictureList list;
  WalkCounts counts;
  bool done = false;
  std::atomic<bool> stop{false};

  void Walk(std::string root, const PictureKinds& kinds, const std::function<decltype(ListFolder)>& list);
  bool FirstVisit(const Pending& p);
  void Take(const Pending& p, const FolderListing& listing, const PictureKinds& kinds);
  void Unreadable();
  void Finish();

  std::vector<Pending> pending;  // the walk's thread only
  std::set<FolderIdentity> visited;
};

FolderWalk::FolderWalk(const std::string& root, const PictureKinds& kinds, std::function<decltype(ListFolder)> list)
    : shared_(std::make_shared<Shared>()) {
  forms::StartDetachedThread([shared = shared_, root, kinds, list = std::move(list)] {
    // A walk that raises ends there as a failed walk: what it found stays,
    // and the show goes on with it.
    try {
      shared->Walk(root, kinds, list);
    } catch (const std::exception&) {
    }
    shared->Finish();
  });
}

FolderWalk::~FolderWalk() { shared_->stop = true; }

void FolderWalk::Shared::Walk(std::string root, const PictureKinds& kinds,
                              const std::function<decltype(ListFolder)>& listFolder) {
  if (root.empty()) return Unreadable();
  root = AsFolderEntry(root);
  {
    std::lock_guard<std::mutex> lock(mutex);
    pending.push_back({FromAnsi(root), list.AddFolder(PictureList::kNoFolder, root), root.size(), 0, false});
  }
  while (!pending.empty() && !stop.load()) {
    const Pending next = std::move(pending.back());
    pending.pop_back();
    if (!FirstVisit(next)) continue;
    FolderListing listing;
    if (!listFolder(next.path, listing))
      Unreadable();
    else
      Take(next, listing, kinds);
  }
}

bool FolderWalk::Shared::FirstVisit(const Pending& p) {
  FolderIdentity identity;
  if (!IdentifyFolder(p.path, identity)) return p.depth < kMaxDepth;
  return visited.insert(identity).second;
}

// The folder's pictures join the list, its subfolders the folders to read
// (pushed last first, so the first subfolder is read next).
void FolderWalk::Shared::Take(const Pending& p, const FolderListing& listing, const PictureKinds& kinds) {
  std::vector<std::string> pictures;
  for (const std::wstring& file : listing.files)
    if (kinds.IsPicture(file)) pictures.push_back(forms::NarrowName(p.wide, file));
  std::lock_guard<std::mutex> lock(mutex);
  for (const std::string& name : pictures) {
    if (Reachable(p, name))
      list.AddPicture(p.folder, name);
    else
      ++counts.notShown;
  }
  for (auto it = listing.folders.rbegin(); it != listing.folders.rend(); ++it) {
    const std::string name = forms::NarrowName(p.wide, *it + L"\\");
    const uint32_t folder = Reachable(p, name) ? list.AddFolder(p.folder, name) : PictureList::kNoFolder;
    pending.push_back({p.path + *it + L"\\", folder, p.narrowLength + name.size(), p.depth + 1,
                       p.wide || forms::HoldsWide(name)});
  }
}

void FolderWalk::Shared::Unreadable() {
  std::lock_guard<std::mutex> lock(mutex);
  ++counts.unreadable;
}

void FolderWalk::Shared::Finish() {
  std::lock_guard<std::mutex> lock(mutex);
  done = true;
  finished.notify_all();
}

bool FolderWalk::WaitDone(DWORD ms) const {
  std::unique_lock<std::mutex> lock(shared_->mutex);
  return shared_->finished.wait_for(lock, std::chrono::milliseconds(ms), [this] { return shared_->done; });
}

FolderWalk::Progress FolderWalk::Now() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return {shared_->list.Count(), shared_->done};
}

size_t FolderWalk::Count() const { return Now().found; }

std::string FolderWalk::Path(size_t i) const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->list.Path(i);
}

std::string FolderWalk::RelativePath(size_t i) const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->list.RelativePath(i);
}

WalkCounts FolderWalk::Counts() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->counts;
}

size_t FolderWalk::MemoryBytes() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->list.MemoryBytes();
}

}  // namespace library
