// The random source the show draws from: a number from 0 up to bound - 1
// (0 for a bound of 0 or less). Handed in, so tests can script it.
#pragma once
#include <functional>

namespace library {

using RandomFn = std::function<int(int bound)>;

}  // namespace library
