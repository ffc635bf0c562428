// The entropy-coded layer of a sequential JPEG: Huffman tables and the bit
// reader over a scan's bytes. Portable: reads bytes only.
#pragma once
#include <cstddef>
#include <cstdint>

namespace wic {

struct Huffman {
  bool defined = false;
  int total = 0;
  int32_t maxCode[17] = {};  // largest code of each length; -1 when none
  int32_t valueOffset[17] = {};
  uint8_t values[256] = {};
  uint16_t fast[512] = {};  // by the next 9 bits: (length << 8) | value; 0 for longer codes

  // From a table segment's 16 code counts and its symbols; false for counts
  // that no code of their lengths can hold.
  bool Build(const uint8_t* counts, const uint8_t* symbols, int count);
};

// The scan's bytes as bits: stuffed zeros dropped, zeros fed once a marker
// or the end is reached (and counted, so that a scan running past its data
// is noticed).
class Bits {
 public:
  Bits(const uint8_t* p, const uint8_t* end) : p_(p), end_(end) {}

  uint32_t Peek(int n) {  // n <= 16
    Fill();
    return buf_ >> (32 - n);
  }
  void Skip(int n) {
    buf_ <<= n;
    count_ -= n;
  }
  uint32_t Get(int n) {
    const uint32_t v = Peek(n);
    Skip(n);
    return v;
  }
  // More bits taken than the scan holds.
  bool Overrun() const { return zeros_ * 8 > count_; }
  // At a restart marker: drops what is left of the byte, then expects RSTn.
  bool Restart();

 private:
  void Fill();

  const uint8_t* p_;
  const uint8_t* end_;
  uint32_t buf_ = 0;
  int count_ = 0;
  int zeros_ = 0;
  bool atMarker_ = false;
};

// The next symbol of table h; -1 for bits that are no code of it.
int DecodeSymbol(Bits& bits, const Huffman& h);

// A value of s bits (1..16) as the format stores signed values.
inline int Extend(uint32_t v, int s) {
  return v < (1u << (s - 1)) ? static_cast<int>(v) - (1 << s) + 1 : static_cast<int>(v);
}

}  // namespace wic
