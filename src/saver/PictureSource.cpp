#include "saver/PictureSource.h"

#include <algorithm>
#include <climits>

#include "library/WalkOrder.h"

namespace saver {

PictureSource::PictureSource(const SaverSettings& theme, RandomFn random)
    : entries_(theme),
      random_(std::move(random)),
      resume_(theme.LastImageNumber),
      resumeInFolder_(theme.LastImageInFolder) {
  entry_ = theme.LastImageNumber;  // a number beyond the list is tried (and passed over) once
  seekAfter_ = theme.LastImageInFolder;
  randomOrder_ = theme.ImageOrdRandom;
  draw_.Count = theme.ImageCount;
  draw_.Random = true;
  slotsTaken_.assign(entries_.Named().size(), 0);
}

// Monitors finish their loads in any order: a picture handed out earlier
// than the latest one taken never moves the resume place back.
void PictureSource::Taken(const ShowPicture& picture) {
  if (picture.Serial < lastTaken_) return;
  lastTaken_ = picture.Serial;
  resume_ = picture.Resume;
  resumeInFolder_ = picture.ResumeInFolder;
}

int PictureSource::Count() const {
  if (!entries_.HasFolders()) return entries_.Count();
  size_t known = 0;
  for (int n : entries_.Named()) {
    const library::FolderWalk* walk = entries_.Walk(n);
    known += walk ? walk->Count() : 1;
  }
  return static_cast<int>(std::min<size_t>(known, INT_MAX));
}

ShowPicture PictureSource::Next() {
  if (entries_.Count() <= 0) return Waiting();
  ShowPicture picture = randomOrder_ ? NextAtRandom() : NextInList();
  picture.Serial = ++handedOut_;
  return picture;
}

// Random picks may repeat within a round of the list, so they get a few
// rounds to find a free one; a list of tens of thousands gets a bounded search.
ShowPicture PictureSource::NextFree(const std::string& showing, const InUseFn& inUse) {
  constexpr int kRoundsToSearch = 8;
  constexpr int kMostTries = 256;
  ShowPicture picture = Next();
  if (!inUse) return picture;
  ShowPicture fallback = picture;
  const int tries = std::min(kRoundsToSearch * Count(), kMostTries);
  for (int t = 1; t < tries && inUse(picture.Image); ++t) {
    picture = Next();
    if (fallback.Image == showing) fallback = picture;
  }
  return inUse(picture.Image) ? fallback : picture;
}

// A picture that leaves the resume place where it is.
ShowPicture PictureSource::Unmoved() const {
  ShowPicture picture;
  picture.Resume = resume_;
  picture.ResumeInFolder = resumeInFolder_;
  return picture;
}

ShowPicture PictureSource::Waiting() const {
  ShowPicture picture = Unmoved();
  picture.Waiting = true;
  return picture;
}

void PictureSource::StepEntry() {
  entry_ = entry_ < entries_.Count() - 1 ? entry_ + 1 : 0;
  inFolder_ = 0;
  seekAfter_.clear();
}

// Folders that are read to the end with nothing in them are stepped over;
// at most one round of the list per call.
ShowPicture PictureSource::NextInList() {
  for (int tried = 0; tried < entries_.Count(); ++tried) {
    const int n = entry_;
    const library::FolderWalk* walk = entries_.Walk(n);
    if (!walk) {
      ShowPicture picture;
      picture.Image = entries_.Image(n);
      picture.Wave = entries_.Wave(n);
      StepEntry();
      picture.Resume = entry_;
      return picture;
    }
    const auto [found, done] = walk->Now();
    if (!seekAfter_.empty()) {
      const size_t at = library::FirstAfter(found, [walk](size_t i) { return walk->RelativePath(i); }, seekAfter_);
      if (at == found && !done) return Waiting();
      inFolder_ = at;
      seekAfter_.clear();
    }
    if (inFolder_ < found) {
      ShowPicture picture;
      picture.Image = walk->Path(inFolder_);
      picture.Wave = entries_.Wave(n);
      picture.Resume = n;
      picture.ResumeInFolder = walk->RelativePath(inFolder_++);
      return picture;
    }
    if (!done) return Waiting();
    StepEntry();
  }
  return Waiting();
}

// Random order leaves the resume place as it was read.
ShowPicture PictureSource::NextAtRandom() {
  ShowPicture picture = Unmoved();
  if (!entries_.HasFolders()) {
    const int n = draw_.Pick(random_);
    picture.Image = entries_.Image(n);
    picture.Wave = entries_.Wave(n);
    return picture;
  }
  AddFoundSlots();
  rounds_.Grow(static_cast<uint32_t>(slots_.size()), random_);
  const int k = rounds_.Next(random_);
  if (k < 0) return Waiting();
  const Slot slot = slots_[k];
  const library::FolderWalk* walk = entries_.Walk(slot.entry);
  picture.Image = walk ? walk->Path(slot.inFolder) : entries_.Image(slot.entry);
  picture.Wave = entries_.Wave(slot.entry);
  return picture;
}

// Pictures the walks found since the last call join random order: a file
// entry is one slot, a folder entry one per picture.
void PictureSource::AddFoundSlots() {
  const std::vector<int>& named = entries_.Named();
  for (size_t i = 0; i < named.size(); ++i) {
    const library::FolderWalk* walk = entries_.Walk(named[i]);
    const size_t found = walk ? walk->Count() : 1;
    for (; slotsTaken_[i] < found; ++slotsTaken_[i])
      slots_.push_back({named[i], static_cast<uint32_t>(slotsTaken_[i])});
  }
}

}  // namespace saver
