// The pictures a show has shown, oldest first, for stepping back and then
// forward again: the latest kKept of them and the place of the one shown
// last. Only pictures that loaded and appeared are kept, so a step back
// never lands on one that cannot be shown.
#pragma once
#include <cstddef>
#include <deque>

#include "saver/PictureSource.h"

namespace saver {

class ShowHistory {
 public:
  static constexpr size_t kKept = 64;

  // A picture new to the show (taken while the place is the latest); it
  // becomes the place.
  void Add(const ShowPicture& picture);
  bool Empty() const { return pictures_.empty(); }
  size_t Size() const { return pictures_.size(); }
  size_t Place() const { return place_; }
  void MoveTo(size_t place) { place_ = place; }
  const ShowPicture& At(size_t k) const { return pictures_[k]; }
  // The place is the latest picture: going forward takes a new one.
  bool AtLatest() const { return pictures_.empty() || place_ + 1 == pictures_.size(); }

 private:
  std::deque<ShowPicture> pictures_;
  size_t place_ = 0;
};

}  // namespace saver
