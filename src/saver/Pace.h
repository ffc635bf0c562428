// The schedule of a run of steps (an effect, a title fade): step k is due
// k intervals after the run began. A tick that comes late owes several
// steps; one that comes early owes none, so a run never gets ahead of its
// schedule.
#pragma once
#include <windows.h>

#include <algorithm>
#include <climits>

namespace saver {

class Pace {
 public:
  void Start(DWORD now, int interval) {
    start_ = now;
    interval_ = std::max(interval, 1);
    done_ = 0;
  }
  int Interval() const { return interval_; }
  // The steps due at `now` that have not been taken yet; counts them as taken.
  int TakeOwed(DWORD now) {
    // Unsigned difference: the millisecond clock wraps after 49.7 days.
    const DWORD due = (now - start_) / static_cast<DWORD>(interval_);
    const int dueSteps = static_cast<int>(std::min<DWORD>(due, INT_MAX));
    const int owed = std::max(dueSteps - done_, 0);
    done_ += owed;
    return owed;
  }

 private:
  DWORD start_ = 0;
  int interval_ = 1;
  int done_ = 0;
};

}  // namespace saver
