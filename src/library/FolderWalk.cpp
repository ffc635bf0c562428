#include "library/FolderWalk.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "forms/Thread.h"
#include "library/PictureList.h"

namespace library {

struct FolderWalk::Shared : WalkSink {
  mutable std::mutex mutex;
  mutable std::condition_variable finished;
  PictureList list;
  WalkCounts counts;
  bool done = false;
  std::atomic<bool> stop{false};

  uint32_t AddFolder(uint32_t parent, const std::string& name) override {
    std::lock_guard<std::mutex> lock(mutex);
    return list.AddFolder(parent, name);
  }
  void AddPicture(uint32_t folder, const std::string& name) override {
    std::lock_guard<std::mutex> lock(mutex);
    list.AddPicture(folder, name);
  }
  void Count(const WalkCounts& now) override {
    std::lock_guard<std::mutex> lock(mutex);
    counts = now;
  }
};

FolderWalk::FolderWalk(const std::string& root, const PictureKinds& kinds, FolderLister lister)
    : shared_(std::make_shared<Shared>()) {
  forms::StartDetachedThread([shared = shared_, root, kinds, lister = std::move(lister)] {
    Run(shared, root, kinds, lister);
  });
}

FolderWalk::~FolderWalk() { shared_->stop = true; }

void FolderWalk::Run(std::shared_ptr<Shared> shared, std::string root, PictureKinds kinds,
                     FolderLister lister) {
  // A walk that raises (memory running out in a huge tree) ends there as a
  // failed walk: what it found stays, and the show goes on with it.
  try {
    WalkFolders(root, kinds, *shared, shared->stop, lister);
  } catch (const std::exception&) {
  }
  std::lock_guard<std::mutex> lock(shared->mutex);
  shared->done = true;
  shared->finished.notify_all();
}

bool FolderWalk::Done() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->done;
}

bool FolderWalk::WaitDone(DWORD ms) const {
  std::unique_lock<std::mutex> lock(shared_->mutex);
  return shared_->finished.wait_for(lock, std::chrono::milliseconds(ms), [this] { return shared_->done; });
}

FolderWalk::Progress FolderWalk::Now() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return {shared_->list.Count(), shared_->done};
}

size_t FolderWalk::Count() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->list.Count();
}

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
