// Deterministic noise for test pictures and damaged files: the same numbers
// on every machine and every run, so a failure can be replayed.
#pragma once
#include <cstdint>
#include <vector>

namespace test_noise {

// A linear congruential generator; Next() returns the whole new state.
class Lcg {
 public:
  explicit Lcg(uint32_t seed) : state_(seed) {}
  uint32_t Next() { return state_ = state_ * 1664525u + 1013904223u; }

 private:
  uint32_t state_;
};

// `count` 24-bit colours: about noisePercent of them random, the rest `flat`.
inline std::vector<uint32_t> NoisyColours(int count, uint32_t seed, int noisePercent, uint32_t flat) {
  Lcg random(seed);
  std::vector<uint32_t> values;
  values.reserve(count > 0 ? static_cast<size_t>(count) : 0);
  for (int i = 0; i < count; ++i) {
    const uint32_t r = random.Next();
    values.push_back(static_cast<int>(r >> 25) < noisePercent * 128 / 100 ? r & 0xFFFFFF : flat);
  }
  return values;
}

}  // namespace test_noise
