// The host's optional progress callback; a non-zero answer means "stop".
#pragma once
#include "spi.h"

namespace spi {

class Progress {
 public:
  Progress(ProgressCallback callback, UserData data) : callback_(callback), data_(data) {}
  // True when the host asked to stop. Once asked, stays stopped.
  bool Report(int done, int total) {
    if (!stopped_ && callback_ != nullptr && callback_(done, total, data_) != 0) stopped_ = true;
    return stopped_;
  }
  bool Stopped() const { return stopped_; }

 private:
  ProgressCallback callback_;
  UserData data_;
  bool stopped_ = false;
};

}  // namespace spi
