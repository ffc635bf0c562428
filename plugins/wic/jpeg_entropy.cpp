#include "jpeg_entropy.h"

#include <algorithm>
#include <cstring>

namespace wic {

bool Huffman::Build(const uint8_t* counts, const uint8_t* symbols, int count) {
  std::memset(fast, 0, sizeof fast);
  std::memcpy(values, symbols, static_cast<std::size_t>(count));
  total = count;
  int32_t code = 0;
  int k = 0;
  for (int len = 1; len <= 16; ++len) {
    valueOffset[len] = k - code;
    for (int i = 0; i < counts[len - 1]; ++i, ++code, ++k) {
      if (code >= (1 << len)) return false;  // more codes than the length holds
      if (len <= 9) {
        const int shift = 9 - len;
        for (int f = code << shift; f < (code + 1) << shift; ++f)
          fast[f] = static_cast<uint16_t>(len << 8 | symbols[k]);
      }
    }
    maxCode[len] = counts[len - 1] ? code - 1 : -1;
    code <<= 1;
  }
  defined = true;
  return true;
}

void Bits::Fill() {
  while (count_ <= 24) {
    uint32_t byte = 0;
    if (!atMarker_ && p_ < end_ && !(*p_ == 0xFF && (p_ + 1 >= end_ || p_[1] != 0))) {
      byte = *p_;
      p_ += byte == 0xFF ? 2 : 1;  // FF 00 stands for FF
    } else {
      atMarker_ = true;
      ++zeros_;
    }
    buf_ |= byte << (24 - count_);
    count_ += 8;
  }
}

bool Bits::Restart() {
  buf_ = 0, count_ = 0, zeros_ = 0, atMarker_ = false;
  while (p_ < end_ && *p_ != 0xFF) ++p_;
  while (p_ < end_ && *p_ == 0xFF) ++p_;
  if (p_ >= end_ || *p_ < 0xD0 || *p_ > 0xD7) return false;
  ++p_;
  return true;
}

namespace {

// The next symbol of table h; -1 for bits that are no code of it.
int DecodeSymbol(Bits& bits, const Huffman& h) {
  const uint16_t f = h.fast[bits.Peek(9)];
  if (f) {
    bits.Skip(f >> 8);
    return f & 0xFF;
  }
  for (int len = 10; len <= 16; ++len) {
    const int32_t code = static_cast<int32_t>(bits.Peek(len));
    if (code <= h.maxCode[len]) {
      const int32_t i = code + h.valueOffset[len];
      if (i < 0 || i >= h.total) return -1;
      bits.Skip(len);
      return h.values[i];
    }
  }
  return -1;
}

// A value of s bits (1..16) as the format stores signed values.
int Extend(uint32_t v, int s) {
  return v < (1u << (s - 1)) ? static_cast<int>(v) - (1 << s) + 1 : static_cast<int>(v);
}

}  // namespace

bool ScanDecoder::StartUnit() {
  if (restartInterval_ == 0) return true;
  if (untilRestart_ == 0) {
    if (!bits_.Restart()) return false;
    std::fill(predictors_, predictors_ + 4, 0);
    untilRestart_ = restartInterval_;
  }
  --untilRestart_;
  return true;
}

int ScanDecoder::Block(int component, const Huffman& dc, const Huffman& ac, Coefficient out[64]) {
  const int s = DecodeSymbol(bits_, dc);
  if (s < 0 || s > 11) return -1;
  int& predictor = predictors_[component];
  if (s) predictor += Extend(bits_.Get(s), s);
  out[0] = {0, predictor};
  int count = 1;
  for (int k = 1; k < 64;) {
    const int rs = DecodeSymbol(bits_, ac);
    if (rs < 0) return -1;
    const int run = rs >> 4, size = rs & 15;
    if (size == 0) {
      if (run != 15) break;  // end of block
      k += 16;
      continue;
    }
    k += run;
    if (k > 63 || size > 10) return -1;
    out[count++] = {k++, Extend(bits_.Get(size), size)};  // never zero
  }
  return count;
}

}  // namespace wic
