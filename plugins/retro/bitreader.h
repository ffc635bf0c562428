// Bounds-checked MSB-first bit reader shared by the retro decoders.
// Reading past the end yields zero bits and sets overrun(); every decoder
// loop that waits for a one-bit or a non-zero code therefore ends, and the
// caller turns the overrun into kBroken.
#pragma once
#include <cstddef>
#include <cstdint>

namespace retro::detail {

class BitReader {
 public:
  BitReader(const uint8_t* data, std::size_t end, std::size_t begin)
      : data_(data), end_(end), pos_(begin) {}

  int bit() {
    if (left_ == 0) {
      if (pos_ >= end_) {
        ++bitsPastEnd_;
        return 0;
      }
      current_ = data_[pos_++];
      left_ = 8;
    }
    --left_;
    return (current_ >> left_) & 1;
  }

  // Up to 31 bits, first bit read is the most significant.
  uint32_t bits(int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 1) | static_cast<uint32_t>(bit());
    return value;
  }

  bool overrun() const { return bitsPastEnd_ > 0; }
  // Zero bits handed out past the end so far (coders that look ahead allow a few).
  std::size_t bitsPastEnd() const { return bitsPastEnd_; }

 private:
  const uint8_t* data_;
  std::size_t end_;
  std::size_t pos_;
  uint8_t current_ = 0;
  int left_ = 0;
  std::size_t bitsPastEnd_ = 0;
};

}  // namespace retro::detail
