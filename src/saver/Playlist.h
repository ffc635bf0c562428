// The order of a numbered list (pictures, MIDI files): list order from a
// position, or random order that never gives the same entry twice in a row.
#pragma once
#include <functional>
#include "library/Random.h"

namespace saver {

using library::RandomFn;

struct Playlist {
  int Count = 0;
  bool Random = false;
  int Next = 0;         // the list position: where list order goes on
  int LastRandom = -1;  // the number drawn last in random order
  int Pick(const RandomFn& random);
};

}  // namespace saver
