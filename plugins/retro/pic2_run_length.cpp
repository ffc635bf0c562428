// PIC2 run-length blocks ("P2SF"): the change points and chains of the
// arithmetic-coded blocks written with plain bits.
#include <algorithm>
#include <vector>

#include "bitreader.h"
#include "pic2_blocks.h"

namespace retro::pic2 {

using namespace detail;

namespace {

// Run-length blocks: MSB-first bits. After each new colour comes the number of
// pixels off any chain that repeat the colour to their left before the next
// new colour; every new colour and every pixel reached by a chain is followed
// by where its chain goes in the next row. The chain codes of pixels between
// two new colours come after that number, in reading order, as the reader
// meets the pixels.
constexpr int kFastCacheSize = 64;
// A run number of 1023 means "no new colour for the next 1023 chain pixels";
// runs of 1023 or more are written one higher.
constexpr uint32_t kChainStretch = 1023;
constexpr int kLongestRunClass = 30;  // more leading ones than this is damage

class SfBlockDecoder {
 public:
  SfBlockDecoder(const uint8_t* data, const Block& block, int depth)
      : bits_(data, block.end, block.data),
        width_(block.width),
        depth_(depth),
        componentBits_(depth / 3),
        stride_(block.width + 2 * kMargin),
        values_(2 * stride_, 0),
        chains_(2 * stride_, 0),
        cache_(256 * kFastCacheSize, 0),
        cacheFront_(256, 0) {}

  // Decodes the next row into row(); false when the code is damaged.
  bool nextRow() {
    uint32_t* now = line(values_, now_);
    uint32_t* next = line(values_, 1 - now_);
    uint8_t* chainNow = line(chains_, now_);
    uint8_t* chainNext = line(chains_, 1 - now_);
    std::fill(chainNext - kMargin, chainNext - kMargin + stride_, 0);
    if (firstRow_) readRun();  // the block starts with a run of colour 0
    firstRow_ = false;
    for (int x = 0; x < width_ && !damaged(); ++x) {
      if (chainNow[x] != 0) {
        colour_ = now[x];
        readChain(x, next, chainNext);
        if (stretchLeft_ > 0 && --stretchLeft_ == 0) readRun();
      } else if (stretchLeft_ > 0 || run_ > 0) {
        if (stretchLeft_ == 0) --run_;
        now[x] = colour_;
      } else {
        colour_ = now[x] = readColour(colour_);
        readChain(x, next, chainNext);
        readRun();
      }
    }
    row_ = now;
    now_ = 1 - now_;
    return !damaged();
  }

  // The row nextRow() decoded last.
  const uint32_t* row() const { return row_; }

 private:
  template <typename T>
  T* line(std::vector<T>& rows, int index) {
    return rows.data() + static_cast<std::size_t>(index) * stride_ + kMargin;
  }

  // n leading ones, a zero, then n bits added to 2^n - 1.
  void readRun() {
    int ones = 0;
    while (ones <= kLongestRunClass && bits_.bit()) ++ones;
    if (ones > kLongestRunClass) {
      tooLong_ = true;
      return;
    }
    const uint32_t n = bits_.bits(ones) + ((1u << ones) - 1);
    if (n == kChainStretch) stretchLeft_ = kChainStretch;
    else run_ = n > kChainStretch ? n - 1 : n;
  }

  // 0: the chain ends; 11: straight down; 1011 / 1010: one / two to the
  // left; 1001 / 1000: one / two to the right. Cells past the row's ends
  // fall into its margins and are never shown.
  void readChain(int x, uint32_t* next, uint8_t* chainNext) {
    if (!bits_.bit()) return;
    int step = 0;
    if (!bits_.bit()) {
      const int side = bits_.bit() ? -1 : +1;
      step = side * (bits_.bit() ? 1 : 2);
    }
    next[x + step] = colour_;
    chainNext[x + step] = 1;
  }

  // Values are stored with R and G swapped (G at the top); the cache is
  // chosen by the top 8 bits of that swapped value of the pixel to the left.
  uint32_t swapRedGreen(uint32_t value) const {
    const uint32_t mask = (1u << componentBits_) - 1;
    return ((value >> componentBits_) & mask) << (2 * componentBits_) |
           ((value >> (2 * componentBits_)) & mask) << componentBits_ | (value & mask);
  }

  uint32_t readColour(uint32_t left) {
    const uint32_t swapped = swapRedGreen(left);
    const uint32_t key = depth_ >= 8 ? swapped >> (depth_ - 8) : swapped << (8 - depth_);
    uint32_t* slots = cache_.data() + key * kFastCacheSize;
    int& front = cacheFront_[key];
    if (bits_.bit()) return slots[(front + static_cast<int>(bits_.bits(6))) & (kFastCacheSize - 1)];
    front = (front - 1) & (kFastCacheSize - 1);
    slots[front] = swapRedGreen(bits_.bits(depth_));
    return slots[front];
  }

  // The writer ends the block after the last run and chain codes; reading
  // past it means the code is damaged or cut short.
  bool damaged() const { return tooLong_ || bits_.overrun(); }

  BitReader bits_;
  const int width_;
  const int depth_;
  const int componentBits_;
  const int stride_;
  std::vector<uint32_t> values_;  // current and next row
  std::vector<uint8_t> chains_;   // per cell: 1 when a chain reached it
  std::vector<uint32_t> cache_;
  std::vector<int> cacheFront_;
  const uint32_t* row_ = nullptr;
  int now_ = 0;
  bool firstRow_ = true;
  uint32_t colour_ = 0;       // the last pixel decoded
  uint32_t run_ = 0;          // pixels off chains still to repeat colour_
  uint32_t stretchLeft_ = 0;  // chain pixels before the next run number
  bool tooLong_ = false;
};

}  // namespace

Status drawRunLengthBlock(const uint8_t* data, const Block& block, int depth, Image& out,
                          const Progress& progress) {
  if (depth % 3 != 0) return kUnknownFormat;
  SfBlockDecoder decoder(data, block, depth);
  for (int y = 0; y < block.height && block.top + y < out.height; ++y) {
    if (!decoder.nextRow()) return kBroken;
    paintRow(block, y, decoder.row(), false, depth, out);
    if (rowDone(progress, block, y, out)) return kAborted;
  }
  return kOk;
}

}  // namespace retro::pic2
