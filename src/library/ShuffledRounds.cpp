#include "library/ShuffledRounds.h"

#include <utility>

namespace library {

namespace {
// random(bound) held to [0, bound), whatever the source returns.
size_t Draw(const RandomFn& random, size_t bound) {
  const int r = random(static_cast<int>(bound));
  return r < 0 || static_cast<size_t>(r) >= bound ? 0 : static_cast<size_t>(r);
}
}  // namespace

void ShuffledRounds::Grow(uint32_t count, const RandomFn& random) {
  while (order_.size() < count) {
    order_.push_back(static_cast<uint32_t>(order_.size()));
    const size_t place = at_ + Draw(random, order_.size() - at_);
    std::swap(order_.back(), order_[place]);
  }
}

void ShuffledRounds::NewRound(const RandomFn& random) {
  for (size_t i = order_.size() - 1; i > 0; --i) std::swap(order_[i], order_[Draw(random, i + 1)]);
  if (order_.size() >= 2 && static_cast<int>(order_[0]) == last_)
    std::swap(order_[0], order_[1 + Draw(random, order_.size() - 1)]);
  at_ = 0;
}

int ShuffledRounds::Next(const RandomFn& random) {
  if (order_.empty()) return -1;
  if (at_ == order_.size()) NewRound(random);
  last_ = static_cast<int>(order_[at_++]);
  return last_;
}

}  // namespace library
