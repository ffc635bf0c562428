// The entropy-coded layer of a sequential JPEG: Huffman tables, the bit
// reader over a scan's bytes and the decoding of its blocks' coefficients.
// Portable: reads bytes only.
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

struct Coefficient {
  int index;  // in zigzag order, 0 for DC
  int value;  // as stored, before the quantization table
};

// The blocks of one scan in the order they are stored, as quantized
// coefficients. The bits, the DC prediction of each component and the count
// to the next restart marker are the decoding's state.
class ScanDecoder {
 public:
  ScanDecoder(const uint8_t* data, const uint8_t* end, int restartInterval)
      : bits_(data, end), restartInterval_(restartInterval), untilRestart_(restartInterval) {}

  // Before each unit of blocks: where a restart interval ends, reads past its
  // RSTn marker and starts the predictions again; false when it is missing.
  bool StartUnit();
  // The next block of component 0..3: the DC coefficient first, then the AC
  // coefficients that are not zero, in zigzag order; their count, or -1 for
  // bits that are no code of the tables or a value too large for 8-bit
  // samples.
  int Block(int component, const Huffman& dc, const Huffman& ac, Coefficient out[64]);
  // More bits taken than the scan holds: its data ended early.
  bool Overrun() const { return bits_.Overrun(); }

 private:
  Bits bits_;
  int restartInterval_;
  int untilRestart_;
  int predictors_[4] = {};  // the last DC value of each component
};

}  // namespace wic
