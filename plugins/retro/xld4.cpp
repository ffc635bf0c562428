// XLD4 / Q4 ("MAJYO" at offset 11): always 640 x 400 in 16 colours. The file
// length sits little-endian at offset 8; from offset 16 come chunks, each a
// 6-byte header (data length, a word, the number of pixel pairs it yields)
// and a dictionary code: codes of 3 bits at first, a code value 1 widens the
// codes by a bit (up to 15), 0 ends the chunk, values 2..18 are the symbols
// 0..16 and larger ones name earlier strings, each string being the output
// of one code plus the first symbol of the next. The symbols form a run-length
// stream: 0..15 is one pixel, 16 introduces a run (16, 0, value, high, low or
// 16, high, low to repeat the last value; the count is high * 17 + low). The
// first chunk holds the palette (per colour R, G, B, each as two values of
// which the second is the 4-bit level); the others hold the pixels.
#include <cstring>
#include <vector>

#include "Checked.h"
#include "bitreader.h"
#include "common.h"

namespace retro {
namespace {

using namespace detail;

constexpr int kWidth = 640, kHeight = 400;
constexpr std::size_t kFirstChunk = 16;
constexpr int kMaxCodes = 16384;
constexpr std::size_t kMaxChunkSymbols = 65536;

bool sniff(const uint8_t* head, std::size_t size) {
  return size >= 16 && std::memcmp(head + 11, "MAJYO", 5) == 0;
}

// Symbols of one chunk, read as a run-length stream.
class ChunkReader {
 public:
  // Expands the chunk at `at`; false when it is malformed.
  bool open(const uint8_t* data, std::size_t size, std::size_t at, std::size_t& next, uint32_t& pairs) {
    if (!checked::InRange(at, 6, size) || !checked::InRange(at + 6, le16(data + at), size)) return false;
    const std::size_t end = at + 6 + le16(data + at);
    pairs = le16(data + at + 4);
    next = end;
    symbols_.clear();
    read_ = 0;
    runLeft_ = 0;
    runValue_ = 0;
    return expand(BitReader(data, end, at + 6));
  }

  // Symbols the chunk expanded to.
  std::size_t symbolCount() const { return symbols_.size(); }

  // The next pixel value, or -1 when the chunk has run dry or is malformed.
  int next() {
    while (runLeft_ == 0) {
      if (read_ >= symbols_.size()) return -1;
      const uint8_t b = symbols_[read_++];
      if (b < 16) return b;
      if (read_ + 2 > symbols_.size()) return -1;
      uint8_t high = symbols_[read_++];
      if (high == 0) {
        runValue_ = symbols_[read_++];
        if (runValue_ >= 16 || read_ >= symbols_.size()) return -1;
        high = symbols_[read_++];
      }
      if (read_ >= symbols_.size()) return -1;
      runLeft_ = high * 17u + symbols_[read_++];
    }
    --runLeft_;
    return runValue_;
  }

 private:
  bool expand(BitReader bits) {
    std::vector<std::size_t> starts;  // output offset of each code, by code number
    starts.reserve(1024);
    int width = 3;
    for (int code = 17; code < kMaxCodes; ++code) {
      uint32_t value = bits.bits(width);
      while (value == 1 && width < 15) value = bits.bits(++width);
      if (value < 2 || bits.overrun()) return true;  // end of chunk
      const std::size_t symbol = value - 2;
      if (symbol >= static_cast<std::size_t>(code)) return true;
      starts.push_back(symbols_.size());
      if (symbol <= 16) {
        if (symbols_.size() >= kMaxChunkSymbols) return false;
        symbols_.push_back(static_cast<uint8_t>(symbol));
        continue;
      }
      // String `symbol`: the output of its code and the first symbol after it.
      std::size_t from = starts[symbol - 17];
      const std::size_t last = symbol - 17 + 1 < starts.size() ? starts[symbol - 17 + 1] : symbols_.size();
      if (symbols_.size() + (last - from) + 1 > kMaxChunkSymbols) return false;
      for (; from <= last; ++from) {
        const uint8_t repeated = symbols_[from];
        symbols_.push_back(repeated);
      }
    }
    return false;
  }

  std::vector<uint8_t> symbols_;
  std::size_t read_ = 0;
  uint32_t runLeft_ = 0;
  uint8_t runValue_ = 0;
};

Status decode(const uint8_t* data, std::size_t size, Image& out, bool headerOnly,
              const Progress& progress) {
  out = Image();
  if (!sniff(data, size)) return kUnknownFormat;
  out.width = kWidth;
  out.height = kHeight;
  out.depth = 4;
  out.indexed = true;
  if (headerOnly) return kOk;

  ChunkReader chunk;
  std::size_t next = 0;
  uint32_t pairs = 0;
  if (!chunk.open(data, size, kFirstChunk, next, pairs)) return kBroken;
  out.palette.assign(16, 0);
  for (int i = 0; i < 16; ++i) {
    uint32_t rgb = 0;
    for (int c = 0; c < 3; ++c) {
      const int ignored = chunk.next(), level = chunk.next();
      if (ignored < 0 || level < 0) return kBroken;
      rgb = (rgb << 8) | static_cast<uint32_t>(level * 17);
    }
    // Colours are stored in the order of the PC-98 plane bits.
    out.palette[(i & 8) | ((i & 1) << 2) | ((i >> 1) & 3)] = rgb;
  }

  allocatePixels(out);
  const std::size_t total = static_cast<std::size_t>(kWidth) * kHeight;
  // A pixel takes at most a few symbols (a run code is five), so chunks that
  // expand to far more than the picture needs are damage, however many there are.
  std::size_t symbolBudget = 5 * total + kMaxChunkSymbols;
  std::size_t left = 0;  // pixels still due from the current chunk
  for (std::size_t i = 0; i < total; ++i) {
    if (left == 0) {
      if (!chunk.open(data, size, next, next, pairs) || pairs == 0) return kBroken;
      if (chunk.symbolCount() > symbolBudget) return kBroken;
      symbolBudget -= chunk.symbolCount();
      left = pairs * 2u;
    }
    const int value = chunk.next();
    if (value < 0) return kBroken;
    out.pixels[i] = static_cast<uint8_t>(value);
    --left;
    if ((i + 1) % kWidth == 0 && stopRequested(progress, static_cast<int>((i + 1) / kWidth), kHeight))
      return kAborted;
  }
  return kOk;
}

constexpr Format kXld4{"*.q4", "XLD4", sniff, detail::pixelsOnlyWhenOk<decode>};

}  // namespace

const Format& Xld4Format() { return kXld4; }

}  // namespace retro
