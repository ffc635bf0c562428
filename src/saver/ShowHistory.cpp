#include "saver/ShowHistory.h"

namespace saver {

void ShowHistory::Add(const ShowPicture& picture) {
  pictures_.push_back(picture);
  if (pictures_.size() > kKept) pictures_.pop_front();
  place_ = pictures_.size() - 1;
}

}  // namespace saver
