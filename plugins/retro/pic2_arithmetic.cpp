// PIC2 arithmetic-coded blocks ("P2SS"): R, G, B values of depth/3 bits each,
// coded as change points along each row, colours from caches or predicted
// from the pixels above and to the left, and chains that carry a colour down
// to the next row.
#include <algorithm>
#include <vector>

#include "bitreader.h"
#include "pic2_blocks.h"

namespace retro::pic2 {

using namespace detail;

namespace {

// Binary arithmetic decoder of the "P2SS" blocks: 128 contexts, each with a
// fixed probability of a zero (a big-endian 16-bit fraction of 65536, stored
// before the code); a 16-bit range and the code's offset within it.
class ArithmeticDecoder {
 public:
  ArithmeticDecoder(const uint8_t* data, std::size_t begin, std::size_t end)
      : bits_(data, end, std::min(end, begin + 2 * kContexts)) {
    if (end - begin < 2 * kContexts) broken_ = true;
    for (int i = 0; i < kContexts && !broken_; ++i) zeroOdds_[i] = be16(data + begin + 2 * i);
    offset_ = bits_.bits(16);
  }

  int bit(int context) {
    const uint32_t zeroPart = std::max<uint32_t>(1, (range_ >> 8) * zeroOdds_[context] >> 8);
    int value = 0;
    if (offset_ >= zeroPart) {  // the upper part of the range codes a one
      offset_ -= zeroPart;
      range_ -= zeroPart;
      value = 1;
    } else {
      range_ = zeroPart;
    }
    while (range_ < 0x8000) {
      range_ <<= 1;
      offset_ = (offset_ << 1) | static_cast<uint32_t>(bits_.bit());
    }
    // The encoder flushes 16 bits; a code outside its range or reading far
    // past the block is damaged.
    if (offset_ >= range_ || bits_.bitsPastEnd() > 16) broken_ = true;
    return value;
  }

  // 0..255: a unary class t (first one among contexts c..c+7, none = 255)
  // then t low-first bits in contexts c+8.. added to 2^t - 1.
  int number(int context) {
    for (int t = 0; t < 8; ++t) {
      if (!bit(context + t)) continue;
      int n = (1 << t) - 1;
      for (int i = 0; i < t; ++i) n += bit(context + 8 + i) << i;
      return n;
    }
    return 255;
  }

  bool broken() const { return broken_; }

  static constexpr int kContexts = 128;

 private:
  BitReader bits_;
  uint16_t zeroOdds_[kContexts] = {};
  uint32_t range_ = 0xFFFF;
  uint32_t offset_ = 0;
  bool broken_ = false;
};

// Contexts of the arithmetic coder.
constexpr int kNewColourAfterHit = 15;  // 0..8: change point, by nearby change points
constexpr int kNewColourAfterNew = 16;
constexpr int kCacheSlot = 17;
constexpr int kGreen = 32, kRed = 48, kBlue = 64;
constexpr int kChain = 80;  // + 6 * how the pixel itself was reached by a chain

// Where a chain continues in the next row, by direction 1..5.
constexpr int kChainStep[6] = {0, 0, -1, +1, -2, +2};

// Recent colours kept per cache key.
constexpr int kCacheSize = 32;

class SsBlockDecoder {
 public:
  SsBlockDecoder(const uint8_t* data, const Block& block, int depth)
      : coder_(data, block.data, block.end),
        width_(block.width),
        bits_(depth / 3),
        maxComponent_((1 << bits_) - 1),
        stride_(block.width + 2 * kMargin),
        values_(3 * stride_, 0),
        chains_(2 * stride_, 0),
        busy_(3 * stride_, 0),
        cache_(512 * kCacheSize, 0),
        cacheFront_(512, 0) {}

  // Decodes the next row into row(); false when the code is damaged.
  bool nextRow(bool last) {
    uint32_t* above = line(values_, prev_);
    uint32_t* now = line(values_, now_);
    uint32_t* next = line(values_, next_);
    int8_t* chainNow = line(chains_, chainNow_);
    int8_t* chainNext = line(chains_, 1 - chainNow_);
    uint8_t* busyNow = line(busy_, busyNow_);
    uint8_t* busyNext = line(busy_, (busyNow_ + 1) % 3);
    uint8_t* busyAfter = line(busy_, (busyNow_ + 2) % 3);
    std::fill(chainNext - kMargin, chainNext - kMargin + stride_, 0);
    std::fill(busyAfter - kMargin, busyAfter - kMargin + stride_, 0);
    now[-1] = above[width_ - 1];  // a row continues from the end of the one above
    uint32_t colour = now[-1];
    for (int x = 0; x < width_ && !damaged(); ++x) {
      if (chainNow[x] != 0) {
        colour = now[x];
      } else if (coder_.bit(busyNow[x])) {
        // A change point makes change points around it more likely.
        ++busyNow[x + 1], ++busyNow[x + 2];
        for (int i = -1; i <= 1; ++i) ++busyNext[x + i], ++busyAfter[x + i];
        colour = now[x] = readColour(above[x], now[x - 1]);
      } else {
        now[x] = colour;
        continue;
      }
      if (!last) readChain(x, colour, chainNow[x], next, chainNext);
    }
    prev_ = now_;
    now_ = next_;
    next_ = 3 - prev_ - now_;
    chainNow_ = 1 - chainNow_;
    busyNow_ = (busyNow_ + 1) % 3;
    return !damaged();
  }

  // The row nextRow() decoded last.
  const uint32_t* row() { return line(values_, prev_); }

 private:
  template <typename T>
  T* line(std::vector<T>& rows, int index) {
    return rows.data() + static_cast<std::size_t>(index) * stride_ + kMargin;
  }

  void readChain(int x, uint32_t colour, int reachedBy, uint32_t* next, int8_t* chainNext) {
    const int context = kChain + 6 * reachedBy;
    if (coder_.bit(context)) return;  // the chain ends here
    int direction = 1;
    while (direction < 5 && !coder_.bit(context + direction)) ++direction;
    next[x + kChainStep[direction]] = colour;
    chainNext[x + kChainStep[direction]] = static_cast<int8_t>(direction);
  }

  // Cache of recent colours chosen by the top three bits of each component
  // of the pixel above (G, R, B order at 15 bits as in X68000 colours).
  int cacheKey(uint32_t above) const {
    auto top3 = [&](uint32_t c) { return bits_ >= 3 ? c >> (bits_ - 3) : c << (3 - bits_); };
    const uint32_t r = top3(component(above, 2)), g = top3(component(above, 1)), b = top3(component(above, 0));
    return static_cast<int>(bits_ == 5 ? (g << 6 | r << 3 | b) : (r << 6 | g << 3 | b));
  }

  uint32_t component(uint32_t value, int index) const {
    return (value >> (index * bits_)) & static_cast<uint32_t>(maxComponent_);
  }

  uint32_t readColour(uint32_t above, uint32_t left) {
    const int key = cacheKey(above);
    uint32_t* slots = cache_.data() + key * kCacheSize;
    int& front = cacheFront_[key];
    if (!coder_.bit(newColourContext_)) {
      // A cached colour moves to the front; the front one moves halfway back.
      newColourContext_ = kNewColourAfterHit;
      const int n = coder_.number(kCacheSlot);
      const int hit = (front + n) & (kCacheSize - 1), half = (front + n / 2) & (kCacheSize - 1);
      const uint32_t colour = slots[hit];
      slots[hit] = slots[half];
      slots[half] = slots[front];
      slots[front] = colour;
      return colour;
    }
    newColourContext_ = kNewColourAfterNew;
    // Predicted from the mean of the pixels above and to the left; green
    // first, and its error shifts the guesses for red and blue.
    const int r = static_cast<int>(component(above, 2) + component(left, 2)) / 2;
    const int g = static_cast<int>(component(above, 1) + component(left, 1)) / 2;
    const int b = static_cast<int>(component(above, 0) + component(left, 0)) / 2;
    const int g0 = readComponent(kGreen, g);
    const int r0 = readComponent(kRed, std::clamp(r + g0 - g, 0, maxComponent_));
    const int b0 = readComponent(kBlue, std::clamp(b + g0 - g, 0, maxComponent_));
    const uint32_t colour = static_cast<uint32_t>(r0 << (2 * bits_) | g0 << bits_ | b0);
    front = (front - 1) & (kCacheSize - 1);
    slots[front] = colour;
    return colour;
  }

  // A component coded as its distance from `guess`: alternately below and
  // above it while both sides have room, then straight on the open side.
  int readComponent(int context, int guess) {
    const int n = coder_.number(context);
    int value;
    if (guess > maxComponent_ / 2 && n > (maxComponent_ - guess) * 2) value = maxComponent_ - n;
    else if (guess <= maxComponent_ / 2 && n > guess * 2) value = n;
    else value = (n & 1) ? guess + n / 2 + 1 : guess - n / 2;
    if (value < 0 || value > maxComponent_) {
      badComponent_ = true;
      return 0;
    }
    return value;
  }

  bool damaged() const { return coder_.broken() || badComponent_; }

  ArithmeticDecoder coder_;
  const int width_;
  const int bits_;
  const int maxComponent_;
  const int stride_;
  std::vector<uint32_t> values_;  // rows above, current, next
  std::vector<int8_t> chains_;    // per cell: direction of the chain that reached it, 0 = none
  std::vector<uint8_t> busy_;     // per cell: change points nearby (context 0..8)
  std::vector<uint32_t> cache_;
  std::vector<int> cacheFront_;
  int prev_ = 0, now_ = 1, next_ = 2;
  int chainNow_ = 0;
  int busyNow_ = 0;
  int newColourContext_ = kNewColourAfterNew;
  bool badComponent_ = false;
};

}  // namespace

Status drawArithmeticBlock(const uint8_t* data, const Block& block, int depth, Image& out,
                           const Progress& progress) {
  if (depth % 3 != 0) return kUnknownFormat;
  SsBlockDecoder decoder(data, block, depth);
  for (int y = 0; y < block.height && block.top + y < out.height; ++y) {
    if (!decoder.nextRow(y == block.height - 1)) return kBroken;
    paintRow(block, y, decoder.row(), false, depth, out);
    if (rowDone(progress, block, y, out)) return kAborted;
  }
  return kOk;
}

}  // namespace retro::pic2
