// Random order over a list that may still grow: every picture once in a
// round before any comes again, and a new round never starts with the
// picture that ended the last one. Pictures that join during a round are
// shuffled into what is left of it.
#pragma once
#include <cstdint>
#include <vector>

#include "library/Random.h"

namespace library {

class ShuffledRounds {
 public:
  // The list now holds count pictures (never fewer than before).
  void Grow(uint32_t count, const RandomFn& random);
  // The next picture's number; -1 while the list is empty.
  int Next(const RandomFn& random);
  uint32_t Size() const { return static_cast<uint32_t>(order_.size()); }

 private:
  void NewRound(const RandomFn& random);

  std::vector<uint32_t> order_;  // this round's order
  size_t at_ = 0;                // how many of it were given
  int last_ = -1;
};

}  // namespace library
