#include "saver/Playlist.h"

#include <climits>

namespace saver {

namespace {
// bound x 10 without overflow for absurd list sizes.
int TenTimes(int bound) { return bound > INT_MAX / 10 ? INT_MAX : bound * 10; }
}  // namespace

int Playlist::Pick(const RandomFn& random) {
  if (Count == 1) return 0;
  if (Random) {
    int n = random(TenTimes(Count)) % Count;
    if (n == LastRandom) {
      if (random(10) % 2 == 0) {
        n = n >= Count - 1 ? 0 : n + 1;
      } else {
        n = n <= 0 ? Count - 1 : n - 1;
      }
    }
    LastRandom = n;
    return n;
  }
  int n = Next;
  Next = n < Count - 1 ? n + 1 : 0;
  return n;
}

}  // namespace saver
