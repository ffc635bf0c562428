// PIC2 ("P2DT"): a 124-byte big-endian header (names, title, saver, flag,
// number, time, offset of the first block, depth, pixel aspect x/y, canvas
// size), an optional palette, the comment up to the first block, then blocks
// with 26-byte headers (id, size, flag, size and place on the canvas, key
// colour) until an all-zero id. Raw blocks hold one big-endian ("P2BM") or
// little-endian ("P2BI") value per pixel with depth/3 bits per component;
// 15/16-bit raw values are X68000 colours (GGGGGRRRRRBBBBBI). Arithmetic-coded
// blocks ("P2SS") hold R, G, B values of depth/3 bits each, coded as change
// points along each row, colours from caches or predicted from the pixels
// above and to the left, and chains that carry a colour down to the next row.
// Run-length blocks ("P2SF") code the same change points and chains with plain
// bits: runs of unchanged pixels, colours from caches keyed by the pixel to
// the left or written out with R and G swapped.
#include <algorithm>
#include <cstring>
#include <vector>

#include "Checked.h"
#include "bitreader.h"
#include "common.h"

namespace retro {
namespace {

using namespace detail;

constexpr std::size_t kHeaderSize = 124;
constexpr std::size_t kBlockHeaderSize = 26;

bool sniff(const uint8_t* head, std::size_t size) {
  return size >= 4 && std::memcmp(head, "P2DT", 4) == 0;
}

bool supportedDepth(int depth) { return depth == 16 || (depth % 3 == 0 && depth >= 3 && depth <= 24); }

Status readHeader(const uint8_t* data, std::size_t size, Image& out, int& depth, std::size_t& firstBlock) {
  if (size < kHeaderSize) return kBroken;
  // Layout: 0 magic, 4 name[18], 22 subtitle[8], 30 CR LF, 32 title[30], 62 CR LF,
  // 64 saver[30], 94 CR LF, 96 EOF, 97 reserved, 98 flag, 100 number, 102 time,
  // 106 first block, 110 depth, 112 x aspect, 114 y aspect, 116 width, 118 height, 120 reserved.
  depth = static_cast<int>(be16(data + 110));
  out.depth = depth;
  out.indexed = false;
  out.width = static_cast<int>(be16(data + 116));
  out.height = static_cast<int>(be16(data + 118));
  // x aspect / y aspect is the width of a pixel over its height.
  setAspect(out, be16(data + 112), be16(data + 114));
  out.comment = commentText(data, 32, 62);
  firstBlock = be32(data + 106);
  std::size_t text = kHeaderSize;
  if (be16(data + 98) & 1) {  // palette: bits per entry, count, R G B entries
    if (text + 3 > size) return kBroken;
    text += 3 + static_cast<std::size_t>(be16(data + text + 1)) * 3;
  }
  if (firstBlock < kHeaderSize || firstBlock > size) return kBroken;
  if (text < firstBlock) {
    std::size_t end = findByte(data, firstBlock, text, 0x00);
    const std::string comment = commentText(data, text, end);
    if (!comment.empty()) out.comment = out.comment.empty() ? comment : out.comment + "\r\n" + comment;
  }
  if (!supportedDepth(depth)) return kUnknownFormat;
  return checkSize(out.width, out.height, 3);
}

struct Block {
  bool bigEndian = true;
  bool keyed = false;
  uint32_t key = 0;
  int width = 0, height = 0, left = 0, top = 0;
  std::size_t data = 0, end = 0;
};

// 0x00RRGGBB of a value holding R, G and B of `bits` bits each, R at the top.
uint32_t rgbOf(uint32_t value, int bits) {
  const uint32_t mask = (1u << bits) - 1;
  return (uint32_t{widen((value >> (2 * bits)) & mask, bits)} << 16) |
         (uint32_t{widen((value >> bits) & mask, bits)} << 8) | widen(value & mask, bits);
}

// 0x00RRGGBB of one raw pixel value.
uint32_t rawColourOf(uint32_t value, int depth) {
  const int bits = depth / 3;
  if (bits != 5) return rgbOf(value, bits);
  // X68000 colour: G at the top, then R, B and the intensity bit.
  value >>= 1;
  return rgbOf(((value >> 5) & 31) << 10 | ((value >> 10) & 31) << 5 | (value & 31), 5);
}

// Paints block row y from one value per block column; the key colour and
// anything off the canvas stay untouched.
void paintRow(const Block& block, int y, const uint32_t* values, bool raw, int depth, Image& out) {
  const int cy = block.top + y;
  if (cy >= out.height) return;
  for (int x = 0; x < block.width && block.left + x < out.width; ++x) {
    if (block.keyed && values[x] == block.key) continue;
    const uint32_t c = raw ? rawColourOf(values[x], depth) : rgbOf(values[x], depth / 3);
    uint8_t* dst = out.pixels.data() + (static_cast<std::size_t>(cy) * out.width + block.left + x) * 3;
    dst[0] = static_cast<uint8_t>(c);
    dst[1] = static_cast<uint8_t>(c >> 8);
    dst[2] = static_cast<uint8_t>(c >> 16);
  }
}

bool rowDone(const Progress& progress, const Block& block, int y, const Image& out) {
  return stopRequested(progress, std::min(out.height, block.top + y + 1), out.height);
}

Status drawRawBlock(const uint8_t* data, const Block& block, int depth, Image& out,
                    const Progress& progress) {
  const int bytesPerPixel = (depth + 7) / 8;
  std::size_t rowBytes, bytes;
  if (!checked::Mul(block.width, bytesPerPixel, rowBytes) ||
      !checked::Mul(rowBytes, block.height, bytes) || !checked::InRange(block.data, bytes, block.end))
    return kBroken;
  std::vector<uint32_t> row(block.width);
  for (int y = 0; y < block.height && block.top + y < out.height; ++y) {
    const uint8_t* p = data + block.data + rowBytes * y;
    for (int x = 0; x < block.width; ++x, p += bytesPerPixel) {
      if (bytesPerPixel == 3) row[x] = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
      else if (bytesPerPixel == 2) row[x] = block.bigEndian ? be16(p) : le16(p);
      else row[x] = p[0];
    }
    paintRow(block, y, row.data(), true, depth, out);
    if (rowDone(progress, block, y, out)) return kAborted;
  }
  return kOk;
}

// ---------------------------------------------------------------- P2SS
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

// Row state around the current pixel; rows carry kMargin spare cells on each
// side so that chains and neighbour counts near the edges need no tests.
constexpr int kMargin = 4;
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

// ---------------------------------------------------------------- P2SF
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

// What decoding a block costs, in pixels: its rows on the canvas in full
// width plus one per row, a fixed part per block, and the colour caches a
// coded block sets up.
unsigned long long blockWork(const Block& block, const Image& out, bool coded) {
  constexpr unsigned long long kPerBlock = 64, kCodedSetUp = 4096;
  const unsigned long long rows = std::max(0, std::min(block.height, out.height - block.top));
  return rows * (static_cast<unsigned long long>(block.width) + 1) + kPerBlock + (coded ? kCodedSetUp : 0);
}

Status decode(const uint8_t* data, std::size_t size, Image& out, bool headerOnly,
              const Progress& progress) {
  out = Image();
  if (!sniff(data, size)) return kUnknownFormat;
  int depth = 0;
  std::size_t at = 0;
  if (Status s = readHeader(data, size, out, depth, at); s != kOk) return s;
  if (headerOnly) return kOk;
  allocatePixels(out);

  // Blocks are decoded in full width even where they leave the canvas, and
  // each row and each block costs something even when it is empty, so the
  // work of all blocks together is capped at a few times the canvas.
  unsigned long long budget = 4 * static_cast<unsigned long long>(out.width) * out.height + 65536;
  int blocks = 0;
  for (;;) {
    if (!checked::InRange(at, 8, size)) return kBroken;
    if (be32(data + at) == 0) break;  // terminating block
    const uint32_t blockSize = be32(data + at + 4);
    if (blockSize < kBlockHeaderSize || blockSize > size - at) return kBroken;
    const uint8_t* h = data + at;
    Block block;
    const bool arithmetic = std::memcmp(h, "P2SS", 4) == 0;
    const bool runLength = std::memcmp(h, "P2SF", 4) == 0;
    const bool coded = arithmetic || runLength;
    if (std::memcmp(h, "P2BM", 4) == 0) block.bigEndian = true;
    else if (std::memcmp(h, "P2BI", 4) == 0) block.bigEndian = false;
    else if (!coded) return kUnknownFormat;
    block.keyed = (be16(h + 8) & 1) != 0;
    block.width = static_cast<int>(be16(h + 10));
    block.height = static_cast<int>(be16(h + 12));
    block.left = static_cast<int>(be16(h + 14));
    block.top = static_cast<int>(be16(h + 16));
    block.key = be32(h + 18);
    block.data = at + kBlockHeaderSize;
    block.end = at + blockSize;
    const unsigned long long work = blockWork(block, out, coded);
    if (work > budget) return kBroken;
    budget -= work;
    Status s = kOk;
    if (arithmetic) s = drawArithmeticBlock(data, block, depth, out, progress);
    else if (runLength) s = drawRunLengthBlock(data, block, depth, out, progress);
    else s = drawRawBlock(data, block, depth, out, progress);
    if (s != kOk) return s;
    at += blockSize;
    ++blocks;
  }
  return blocks > 0 ? kOk : kBroken;
}

}  // namespace

const Format& Pic2Format() {
  static const Format format{"*.p2", "PIC2", sniff, detail::pixelsOnlyWhenOk<decode>};
  return format;
}

}  // namespace retro
