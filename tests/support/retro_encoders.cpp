#include "retro_encoders.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <utility>

namespace retro_test {
namespace {

class BitWriter {
 public:
  void put(uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
      current_ = static_cast<uint8_t>((current_ << 1) | ((value >> i) & 1));
      if (++filled_ == 8) {
        bytes_.push_back(current_);
        current_ = 0;
        filled_ = 0;
      }
    }
  }
  std::vector<uint8_t> finish() {
    if (filled_) bytes_.push_back(static_cast<uint8_t>(current_ << (8 - filled_)));
    filled_ = 0;
    current_ = 0;
    return bytes_;
  }

 private:
  std::vector<uint8_t> bytes_;
  uint8_t current_ = 0;
  int filled_ = 0;
};

void putLe16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void putLe32(std::vector<uint8_t>& out, uint32_t v) {
  putLe16(out, v & 0xFFFF);
  putLe16(out, v >> 16);
}
void putBe16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}
void putBe32(std::vector<uint8_t>& out, uint32_t v) {
  putBe16(out, v >> 16);
  putBe16(out, v & 0xFFFF);
}
void putText(std::vector<uint8_t>& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }
void putPadded(std::vector<uint8_t>& out, const std::string& text, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) out.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : ' ');
}

int floorLog2(uint32_t v) {
  int n = 0;
  while (v >>= 1) ++n;
  return n;
}

}  // namespace

IndexedPicture MakePattern(int width, int height, int colours, uint32_t seed) {
  IndexedPicture p;
  p.width = width;
  p.height = height;
  p.pixels.resize(static_cast<std::size_t>(width) * height);
  uint32_t state = seed * 2654435761u + 12345;
  auto next = [&state] {
    state = state * 1103515245u + 12345u;
    return state >> 16;
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      int c;
      if (y < height / 4) c = (x / 8 + y / 4) % colours;               // blocks: vertical copies
      else if (y < height / 2) c = ((x + y) / 3) % colours;             // diagonals: up-left/right copies
      else if (y < 3 * height / 4) c = (x % 4 < 2) ? 1 % colours : (x / 4) % colours;  // pairs
      else c = static_cast<int>(next() % colours);                      // noise: literals
      p.pixels[static_cast<std::size_t>(y) * width + x] = static_cast<uint8_t>(c);
    }
  }
  return p;
}

// ---------------------------------------------------------------- MAG
std::vector<uint8_t> EncodeMag(const IndexedPicture& picture, const MagOptions& options) {
  const int colours = static_cast<int>(picture.palette.size());
  if (colours != 16 && colours != 256) throw std::invalid_argument("MAG needs 16 or 256 colours");
  const int span = colours == 16 ? 8 : 4;  // pixels per flag byte
  const int x0 = options.left, x1 = options.left + picture.width - 1;
  const int alignedLeft = x0 / span * span, alignedRight = (x1 / span + 1) * span;
  const int pixelsPerByte = colours == 16 ? 2 : 1;
  const int stride = (alignedRight - alignedLeft) / pixelsPerByte;
  const int height = picture.height;

  // The picture as the decoder's byte plane (padding pixels are colour 0).
  std::vector<uint8_t> plane(static_cast<std::size_t>(stride) * height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const int column = x + x0 - alignedLeft;
      const uint8_t v = picture.pixels[static_cast<std::size_t>(y) * picture.width + x];
      uint8_t& b = plane[static_cast<std::size_t>(y) * stride + column / pixelsPerByte];
      if (colours == 256) b = v;
      else b |= (column & 1) ? v : static_cast<uint8_t>(v << 4);
    }

  static const int kLeft[16] = {0, 1, 2, 4, 0, 1, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0};
  static const int kUp[16] = {0, 0, 0, 0, 1, 1, 2, 2, 2, 4, 4, 4, 8, 8, 8, 16};
  const int flagBytes = stride / 4;
  std::vector<uint8_t> previous(flagBytes, 0), pixelData, flagB;
  BitWriter flagA;
  for (int y = 0; y < height; ++y) {
    for (int f = 0; f < flagBytes; ++f) {
      uint8_t flagByte = 0;
      for (int half = 0; half < 2; ++half) {
        const int x = f * 4 + half * 2;
        const uint8_t* unit = &plane[static_cast<std::size_t>(y) * stride + x];
        int chosen = 0;
        for (int v = 1; v < 16 && !chosen; ++v) {
          const int sx = x - kLeft[v] * 2, sy = y - kUp[v];
          if (sx < 0 || sy < 0) continue;
          const uint8_t* source = &plane[static_cast<std::size_t>(sy) * stride + sx];
          if (source[0] == unit[0] && source[1] == unit[1]) chosen = v;
        }
        if (!chosen) {
          pixelData.push_back(unit[0]);
          pixelData.push_back(unit[1]);
        }
        flagByte = static_cast<uint8_t>(flagByte | (half == 0 ? chosen << 4 : chosen));
      }
      const uint8_t change = flagByte ^ previous[f];
      flagA.put(change != 0, 1);
      if (change) flagB.push_back(change);
      previous[f] = flagByte;
    }
  }
  const std::vector<uint8_t> flagABytes = flagA.finish();

  std::vector<uint8_t> out;
  putText(out, "MAKI02  ");
  putText(out, "PC98");
  putPadded(out, "glimora-test", 18);
  putText(out, options.comment);
  out.push_back(0x1A);
  const uint32_t paletteSize = static_cast<uint32_t>(colours) * 3;
  const uint32_t flagAAt = 32 + paletteSize;
  const uint32_t flagBAt = flagAAt + static_cast<uint32_t>(flagABytes.size());
  const uint32_t pixelAt = flagBAt + static_cast<uint32_t>(flagB.size());
  out.push_back(0);  // header start
  out.push_back(0);  // machine
  out.push_back(0);  // machine flags
  out.push_back(static_cast<uint8_t>((colours == 256 ? 0x80 : 0) | (options.lines200 ? 1 : 0)));
  putLe16(out, static_cast<uint32_t>(x0));
  putLe16(out, 0);
  putLe16(out, static_cast<uint32_t>(x1));
  putLe16(out, static_cast<uint32_t>(height - 1));
  putLe32(out, flagAAt);
  putLe32(out, flagBAt);
  putLe32(out, static_cast<uint32_t>(flagB.size()));
  putLe32(out, pixelAt);
  putLe32(out, static_cast<uint32_t>(pixelData.size()));
  for (uint32_t c : picture.palette) {  // G, R, B
    out.push_back(static_cast<uint8_t>(c >> 8));
    out.push_back(static_cast<uint8_t>(c >> 16));
    out.push_back(static_cast<uint8_t>(c));
  }
  out.insert(out.end(), flagABytes.begin(), flagABytes.end());
  out.insert(out.end(), flagB.begin(), flagB.end());
  out.insert(out.end(), pixelData.begin(), pixelData.end());
  return out;
}

// ---------------------------------------------------------------- Pi
namespace {

class PiWriter {
 public:
  PiWriter(const IndexedPicture& p, int colours)
      : p_(p), colours_(colours), total_(p.pixels.size()), width_(static_cast<std::size_t>(p.width)) {
    for (int c = 0; c < colours; ++c) {
      std::vector<uint8_t> list;
      for (int j = 0; j < colours; ++j) list.push_back(static_cast<uint8_t>((c - j + colours) % colours));
      lists_.push_back(list);
    }
    first_ = p.pixels[0];
    second_ = total_ > 1 ? p.pixels[1] : p.pixels[0];
  }

  std::vector<uint8_t> encode() {
    colour(0, first_);
    colour(first_, second_);
    std::size_t at = 0;
    int last = -1;
    while (at < total_) {
      std::size_t pairs = 0;
      const int position = bestCopy(at, last, pairs);
      if (position >= 0) {
        putPosition(position);
        putLength(static_cast<uint32_t>(pairs));
        at = std::min(total_, at + 2 * pairs);
        last = position;
        continue;
      }
      // Literals are announced by repeating the previous position.
      if (last < 0) throw std::logic_error("Pi: literal without a preceding copy");
      putPosition(last);
      for (;;) {
        literal(at);
        if (at + 1 < total_) literal(at + 1);
        at += 2;
        if (at >= total_) break;
        std::size_t unused;
        const bool copyable = bestCopy(at, -1, unused) >= 0;
        bits_.put(copyable ? 0 : 1, 1);
        if (copyable) break;
      }
      last = -1;
    }
    return bits_.finish();
  }

 private:
  uint8_t pixel(std::ptrdiff_t at) const {
    if (at >= 0) return p_.pixels[static_cast<std::size_t>(at)];
    return (at & 1) ? second_ : first_;  // the two virtual lines above
  }

  std::size_t distance(int position, std::size_t at) const {
    switch (position) {
      case 0: return pixel(static_cast<std::ptrdiff_t>(at) - 2) == pixel(static_cast<std::ptrdiff_t>(at) - 1) ? 2 : 4;
      case 1: return width_;
      case 2: return 2 * width_;
      case 3: return width_ - 1;
      default: return width_ + 1;
    }
  }

  // Longest copy at `at` from a position other than `excluded`; -1 when none matches a pair.
  int bestCopy(std::size_t at, int excluded, std::size_t& bestPairs) const {
    int best = -1;
    bestPairs = 0;
    for (int position = 0; position < 5; ++position) {
      if (position == excluded) continue;
      const std::size_t d = distance(position, at);
      if (d == 0) continue;
      std::size_t i = at;
      while (i < total_ && i - at < (std::size_t{1} << 24) - 2 &&
             p_.pixels[i] == pixel(static_cast<std::ptrdiff_t>(i) - static_cast<std::ptrdiff_t>(d)))
        ++i;
      const std::size_t pairs = (i - at) / 2 + ((i == total_ && (i - at) % 2) ? 1 : 0);
      if (pairs > bestPairs) {
        bestPairs = pairs;
        best = position;
      }
    }
    return best;
  }

  void putPosition(int position) {
    if (position < 3) bits_.put(static_cast<uint32_t>(position), 2);
    else bits_.put(position == 3 ? 6 : 7, 3);
  }

  void putLength(uint32_t pairs) {
    const int width = floorLog2(pairs);
    for (int i = 0; i < width; ++i) bits_.put(1, 1);
    if (width < 23) bits_.put(0, 1);
    bits_.put(pairs - (1u << width), width);
  }

  void literal(std::size_t at) { colour(at == 0 ? 0 : p_.pixels[at - 1], p_.pixels[at]); }

  void colour(uint8_t left, uint8_t c) {
    std::vector<uint8_t>& list = lists_[left];
    const auto found = std::find(list.begin(), list.end(), c);
    const int index = static_cast<int>(found - list.begin());
    list.erase(found);
    list.insert(list.begin(), c);
    if (index < 2) {
      bits_.put(1, 1);
      bits_.put(static_cast<uint32_t>(index), 1);
      return;
    }
    bits_.put(0, 1);
    const int width = floorLog2(static_cast<uint32_t>(index));
    const int maxWidth = colours_ == 16 ? 3 : 7;
    for (int i = 1; i < width; ++i) bits_.put(1, 1);
    if (width < maxWidth) bits_.put(0, 1);
    bits_.put(static_cast<uint32_t>(index) - (1u << width), width);
  }

  const IndexedPicture& p_;
  int colours_;
  std::size_t total_, width_;
  std::vector<std::vector<uint8_t>> lists_;
  uint8_t first_ = 0, second_ = 0;
  BitWriter bits_;
};

}  // namespace

std::vector<uint8_t> EncodePi(const IndexedPicture& picture, const PiOptions& options) {
  const int colours = static_cast<int>(picture.palette.size());
  if (colours != 16 && colours != 256) throw std::invalid_argument("Pi needs 16 or 256 colours");
  std::vector<uint8_t> out{'P', 'i'};
  putText(out, options.comment);
  out.push_back(0x1A);
  putText(out, "filler");
  out.push_back(0);
  out.push_back(options.omitPalette ? 0x80 : 0);
  out.push_back(static_cast<uint8_t>(options.aspectN));
  out.push_back(static_cast<uint8_t>(options.aspectM));
  out.push_back(colours == 16 ? 4 : 8);
  putText(out, "TEST");
  putBe16(out, 2);  // extension of two bytes, skipped by readers
  out.push_back(0xEE);
  out.push_back(0xEE);
  putBe16(out, static_cast<uint32_t>(picture.width));
  putBe16(out, static_cast<uint32_t>(picture.height));
  if (!options.omitPalette)
    for (uint32_t c : picture.palette) {
      out.push_back(static_cast<uint8_t>(c >> 16));
      out.push_back(static_cast<uint8_t>(c >> 8));
      out.push_back(static_cast<uint8_t>(c));
    }
  const std::vector<uint8_t> body = PiWriter(picture, colours).encode();
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

// ---------------------------------------------------------------- PIC
uint32_t X68kToRgb(uint16_t colour) {
  const uint32_t intensity = colour & 1;
  auto eight = [intensity](uint32_t five) {
    const uint32_t v = (five << 3) | (intensity << 2);
    return v | (v >> 6);
  };
  const uint32_t g = (colour >> 11) & 31, r = (colour >> 6) & 31, b = (colour >> 1) & 31;
  return (eight(r) << 16) | (eight(g) << 8) | eight(b);
}

namespace {

// Recently used colours: slot numbers from the newest to the oldest.
class PicCache {
 public:
  PicCache() {
    order_.push_back(0);
    for (int s = 127; s >= 1; --s) order_.push_back(s);
  }
  int find(uint32_t colour) const {
    for (int s : order_)
      if (value_[s] == colour) return s;
    return -1;
  }
  void use(int slot) {
    order_.erase(std::find(order_.begin(), order_.end(), slot));
    order_.insert(order_.begin(), slot);
  }
  void add(uint32_t colour) {
    const int slot = order_.back();
    value_[slot] = colour;
    use(slot);
  }

 private:
  std::vector<int> order_;
  uint32_t value_[128] = {};
};

class PicWriter {
 public:
  // `values` holds the codes as written, `codeBits` wide; cached codes go
  // through the recent-colour cache.
  PicWriter(int width, int height, const std::vector<uint32_t>& values, int codeBits, bool cached)
      : width_(width), total_(static_cast<long long>(width) * height), values_(values), codeBits_(codeBits),
        cached_(cached), chained_(values.size(), false) {}

  std::vector<uint8_t> encode() {
    uint32_t current = 0;
    long long lastChange = -1;
    for (long long i = 0; i < total_; ++i) {
      if (chained_[i]) {
        current = values_[i];
        continue;
      }
      if (values_[i] == current) continue;
      putLength(static_cast<uint32_t>(i - lastChange));
      putColour(values_[i]);
      current = values_[i];
      lastChange = i;
      putChain(i);
    }
    if (lastChange < total_ - 1) putLength(static_cast<uint32_t>(total_ - 1 - lastChange + 1));
    return bits_.finish();
  }

 private:
  void putLength(uint32_t length) {
    const int width = floorLog2(length + 1);
    for (int i = 1; i < width; ++i) bits_.put(1, 1);
    if (width < 21) bits_.put(0, 1);
    bits_.put(length - ((1u << width) - 1), width);
  }

  void putColour(uint32_t value) {
    if (!cached_) {
      bits_.put(value, codeBits_);
      return;
    }
    const int slot = cache_.find(value);
    if (slot >= 0) {
      bits_.put(1, 1);
      bits_.put(static_cast<uint32_t>(slot), 7);
      cache_.use(slot);
      return;
    }
    bits_.put(0, 1);
    bits_.put(value, codeBits_);
    cache_.add(value);
  }

  // Follows an edge of the same colour down the following lines.
  void putChain(long long at) {
    static const int kSteps[5] = {0, -1, 1, -2, 2};
    std::vector<int> steps;
    long long link = at;
    for (;;) {
      int found = 99;
      for (int step : kSteps) {
        const long long next = link + width_ + step;
        const long long column = link % width_ + step;
        if (column < 0 || column >= width_ || next >= total_) continue;
        if (values_[next] != values_[at] || chained_[next]) continue;
        if (next % width_ != 0 && values_[next - 1] == values_[next]) continue;  // not an edge
        found = step;
        break;
      }
      if (found == 99) break;
      link += width_ + found;
      chained_[link] = true;
      steps.push_back(found);
    }
    bits_.put(steps.empty() ? 0 : 1, 1);
    if (steps.empty()) return;
    for (int step : steps) {
      if (step == -2 || step == 2) {
        bits_.put(0, 2);
        bits_.put(1, 1);
        bits_.put(step == 2 ? 1 : 0, 1);
      } else {
        bits_.put(static_cast<uint32_t>(step + 2), 2);
      }
    }
    bits_.put(0, 3);  // end of chain
  }

  int width_;
  long long total_;
  const std::vector<uint32_t>& values_;
  int codeBits_;
  bool cached_;
  std::vector<bool> chained_;
  PicCache cache_;
  BitWriter bits_;
};

std::vector<uint8_t> picHeader(int width, int height, int depth, const std::string& comment, int machine = 0,
                               int mode = 0) {
  std::vector<uint8_t> out{'P', 'I', 'C'};
  putText(out, comment);
  out.push_back(0x1A);
  out.push_back(0);
  out.push_back(0);  // reserved
  out.push_back(static_cast<uint8_t>(mode << 4 | machine));
  putBe16(out, static_cast<uint32_t>(depth));
  putBe16(out, static_cast<uint32_t>(width));
  putBe16(out, static_cast<uint32_t>(height));
  return out;
}

}  // namespace

std::vector<uint8_t> EncodePicIndexed(int width, int height, const std::vector<uint8_t>& indexes,
                                      const std::vector<uint16_t>& palette, int depth, const std::string& comment) {
  std::vector<uint8_t> out = picHeader(width, height, depth, comment);
  for (std::size_t i = 0; i < (std::size_t{1} << depth); ++i) putBe16(out, i < palette.size() ? palette[i] : 0);
  const std::vector<uint32_t> values(indexes.begin(), indexes.end());
  const std::vector<uint8_t> body = PicWriter(width, height, values, depth, false).encode();
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

std::vector<uint8_t> EncodePicDirect(int width, int height, const std::vector<uint16_t>& colours, int depth,
                                     const std::string& comment) {
  std::vector<uint8_t> out = picHeader(width, height, depth, comment);
  std::vector<uint32_t> values;
  for (uint16_t c : colours) values.push_back(depth == 15 ? c >> 1 : c);
  const std::vector<uint8_t> body = PicWriter(width, height, values, depth, true).encode();
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

std::vector<uint8_t> EncodePicCodes(int width, int height, const std::vector<uint32_t>& codes, const PicMachine& m,
                                    const std::string& comment) {
  std::vector<uint8_t> out = picHeader(width, height, m.depth, comment, m.machine, m.mode);
  out.insert(out.end(), m.extra.begin(), m.extra.end());
  const std::vector<uint8_t> body = PicWriter(width, height, codes, m.codeBits, m.cached).encode();
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

std::vector<uint8_t> PicGenericFields(int pixelHeight, int pixelWidth, int paletteBits,
                                     const std::vector<uint32_t>& palette) {
  std::vector<uint8_t> out;
  putBe16(out, 0);  // x
  putBe16(out, 0);  // y
  out.push_back(static_cast<uint8_t>(pixelHeight));
  out.push_back(static_cast<uint8_t>(pixelWidth));
  if (paletteBits == 0) return out;
  out.push_back(static_cast<uint8_t>(paletteBits));
  BitWriter bits;
  const int drop = 8 - paletteBits;
  for (uint32_t rgb : palette) {
    bits.put((rgb >> 8 & 0xFF) >> drop, paletteBits);
    bits.put((rgb >> 16 & 0xFF) >> drop, paletteBits);
    bits.put((rgb & 0xFF) >> drop, paletteBits);
  }
  const std::vector<uint8_t> packed = bits.finish();
  out.insert(out.end(), packed.begin(), packed.end());
  return out;
}

std::vector<uint32_t> PicPairs(int width, int height, const std::vector<uint8_t>& pixels) {
  std::vector<uint32_t> codes;
  for (std::size_t i = 0; i + 1 < static_cast<std::size_t>(width) * height; i += 2)
    codes.push_back(uint32_t{pixels[i]} | uint32_t{pixels[i + 1]} << 8);
  return codes;
}

// ---------------------------------------------------------------- PIC2
namespace {

// Binary arithmetic coder of "P2SS" blocks. The first pass only counts the
// zeros and ones of each of the 128 contexts; the second codes with the
// probabilities made from those counts and writes them before the code.
class Pic2Coder {
 public:
  static constexpr int kContexts = 128;

  void put(int value, int context) {
    if (counting_) {
      ++seen_[context];
      if (!value) ++zeros_[context];
      return;
    }
    const uint32_t zeroPart = std::max<uint32_t>(1, (range_ >> 8) * odds_[context] >> 8);
    if (value) {
      low_ += zeroPart;
      range_ -= zeroPart;
      if (low_ > 0xFFFF) {  // carry into the bits already written
        std::size_t i = bits_.size();
        while (i > 0 && bits_[i - 1]) bits_[--i] = 0;
        if (i > 0) bits_[i - 1] = 1;
        low_ &= 0xFFFF;
      }
    } else {
      range_ = zeroPart;
    }
    while (range_ < 0x8000) {
      bits_.push_back(static_cast<uint8_t>(low_ >> 15));
      low_ = (low_ << 1) & 0xFFFF;
      range_ <<= 1;
    }
  }

  // Ends the counting pass: odds of a zero as a fraction of 65536.
  void startCoding() {
    for (int c = 0; c < kContexts; ++c) {
      uint32_t zeros = zeros_[c], seen = seen_[c];
      while (zeros > 32767) zeros /= 2, seen /= 2;
      odds_[c] = zeros == seen ? 0xFFFF : static_cast<uint16_t>((zeros << 16) / seen);
    }
    counting_ = false;
  }

  // The probabilities, then the code with the 16 bits of its low end.
  std::vector<uint8_t> finish() {
    for (int i = 15; i >= 0; --i) bits_.push_back(static_cast<uint8_t>((low_ >> i) & 1));
    std::vector<uint8_t> out;
    for (uint16_t o : odds_) putBe16(out, o);
    BitWriter packed;
    for (uint8_t b : bits_) packed.put(b, 1);
    const std::vector<uint8_t> code = packed.finish();
    out.insert(out.end(), code.begin(), code.end());
    return out;
  }

 private:
  bool counting_ = true;
  uint32_t zeros_[kContexts] = {}, seen_[kContexts] = {};
  uint16_t odds_[kContexts] = {};
  uint32_t low_ = 0, range_ = 0xFFFF;
  std::vector<uint8_t> bits_;
};

// One pass over the pixels of a "P2SS" block, keeping the same state as a
// reader would: change points, chains into the next row, colour caches.
class Pic2Model {
 public:
  Pic2Model(Pic2Coder& coder, int width, int height, const uint32_t* values, int depth)
      : coder_(coder), width_(width), height_(height), values_(values), bits_(depth / 3),
        max_((1 << bits_) - 1), cache_(512, std::vector<uint32_t>(32, 0)), front_(512, 0) {}

  void run() {
    const int stride = width_ + 8;
    std::vector<int> chainNow(stride, 0), chainNext(stride, 0);
    std::vector<int> busyNow(stride, 0), busyNext(stride, 0), busyAfter(stride, 0);
    for (int y = 0; y < height_; ++y) {
      std::fill(chainNext.begin(), chainNext.end(), 0);
      std::fill(busyAfter.begin(), busyAfter.end(), 0);
      const bool last = y == height_ - 1;
      for (int x = 0; x < width_; ++x) {
        const int cell = x + 4;
        const uint32_t v = at(x, y);
        if (chainNow[cell] == 0) {
          const bool change = v != leftOf(x, y);
          coder_.put(change, busyNow[cell]);
          if (!change) continue;
          ++busyNow[cell + 1], ++busyNow[cell + 2];
          for (int i = -1; i <= 1; ++i) ++busyNext[cell + i], ++busyAfter[cell + i];
          putColour(x, y);
        }
        if (!last) putChain(x, y, chainNow[cell], chainNext);
      }
      std::swap(chainNow, chainNext);
      std::swap(busyNow, busyNext);    // next row's counts become current,
      std::swap(busyNext, busyAfter);  // the one after becomes next
    }
  }

 private:
  uint32_t at(int x, int y) const { return values_[static_cast<std::size_t>(y) * width_ + x]; }
  uint32_t above(int x, int y) const { return y > 0 ? at(x, y - 1) : 0; }
  // The pixel before (x, y) in reading order; 0 before the first.
  uint32_t leftOf(int x, int y) const { return x > 0 ? at(x - 1, y) : above(width_ - 1, y); }
  uint32_t part(uint32_t v, int i) const { return (v >> (i * bits_)) & static_cast<uint32_t>(max_); }

  void putNumber(int n, int context) {
    if (n == 255) {
      for (int t = 0; t < 8; ++t) coder_.put(0, context + t);
      return;
    }
    int t = 0;
    while (n >= (2 << t) - 1) ++t;  // class t holds 2^t - 1 .. 2^(t+1) - 2
    for (int i = 0; i < t; ++i) coder_.put(0, context + i);
    coder_.put(1, context + t);
    const int rest = n - ((1 << t) - 1);
    for (int i = 0; i < t; ++i) coder_.put((rest >> i) & 1, context + 8 + i);
  }

  // Distance of `value` from `guess`: 2d for d below, 2d-1 for d above,
  // and the value itself (or max - value) once one side has run out.
  void putComponent(int value, int guess, int context) {
    int n;
    if (guess > max_ / 2) n = value > guess ? 2 * (value - guess) - 1 : value < 2 * guess - max_ ? max_ - value : 2 * (guess - value);
    else n = value <= guess ? 2 * (guess - value) : value > 2 * guess ? value : 2 * (value - guess) - 1;
    putNumber(n, context);
  }

  void putColour(int x, int y) {
    const uint32_t v = at(x, y), up = above(x, y), left = leftOf(x, y);
    auto top3 = [&](uint32_t c) { return bits_ >= 3 ? c >> (bits_ - 3) : c << (3 - bits_); };
    const uint32_t kr = top3(part(up, 2)), kg = top3(part(up, 1)), kb = top3(part(up, 0));
    const int key = static_cast<int>(bits_ == 5 ? (kg << 6 | kr << 3 | kb) : (kr << 6 | kg << 3 | kb));
    std::vector<uint32_t>& slots = cache_[key];
    int& front = front_[key];
    int found = -1;
    for (int i = 0; i < 31 && found < 0; ++i)
      if (slots[(front + i) & 31] == v) found = i;
    if (found >= 0) {
      coder_.put(0, hitContext_);
      hitContext_ = 15;
      putNumber(found, 17);
      const int hit = (front + found) & 31, half = (front + found / 2) & 31;
      slots[hit] = slots[half];
      slots[half] = slots[front];
      slots[front] = v;
      return;
    }
    coder_.put(1, hitContext_);
    hitContext_ = 16;
    const int r = static_cast<int>(part(up, 2) + part(left, 2)) / 2;
    const int g = static_cast<int>(part(up, 1) + part(left, 1)) / 2;
    const int b = static_cast<int>(part(up, 0) + part(left, 0)) / 2;
    const int g0 = static_cast<int>(part(v, 1));
    putComponent(g0, g, 32);
    putComponent(static_cast<int>(part(v, 2)), std::clamp(r + g0 - g, 0, max_), 48);
    putComponent(static_cast<int>(part(v, 0)), std::clamp(b + g0 - g, 0, max_), 64);
    front = (front + 31) & 31;
    slots[front] = v;
  }

  // Carries the colour of (x, y) to a change point of the same colour just
  // below: straight down, left, right, two left, two right (1..5), or ends.
  void putChain(int x, int y, int reachedBy, std::vector<int>& chainNext) {
    static const int kStep[6] = {0, 0, -1, +1, -2, +2};
    const int context = 80 + 6 * reachedBy;
    int direction = 0;
    for (int d = 1; d <= 5 && direction == 0; ++d) {
      const int tx = x + kStep[d];
      if (tx >= 0 && tx < width_ && chainNext[tx + 4] == 0 && at(tx, y + 1) == at(x, y) &&
          at(tx, y + 1) != leftOf(tx, y + 1))
        direction = d;
    }
    coder_.put(direction == 0, context);
    if (direction == 0) return;
    for (int d = 1; d < 5; ++d) {
      coder_.put(d == direction, context + d);
      if (d == direction) break;
    }
    chainNext[x + kStep[direction] + 4] = direction;
  }

  Pic2Coder& coder_;
  const int width_, height_;
  const uint32_t* values_;
  const int bits_, max_;
  std::vector<std::vector<uint32_t>> cache_;
  std::vector<int> front_;
  int hitContext_ = 16;
};

std::vector<uint8_t> pic2CodedBlock(int width, int rows, const uint32_t* values, int depth) {
  Pic2Coder coder;
  Pic2Model(coder, width, rows, values, depth).run();
  coder.startCoding();
  Pic2Model(coder, width, rows, values, depth).run();
  return coder.finish();
}

// One pass over the pixels of a "P2SF" block. Chain codes of the pixels
// between two new colours wait until the run number before the next new
// colour is written; 1023 waiting codes are written behind the stretch
// number 1023 instead.
class Pic2RunLengthWriter {
 public:
  Pic2RunLengthWriter(int width, int height, const uint32_t* values, int depth)
      : width_(width), height_(height), values_(values), depth_(depth), bits_(depth / 3),
        cache_(256, std::vector<uint32_t>(64, 0)), front_(256, 0),
        reached_(static_cast<std::size_t>(width) * height, false) {}

  std::vector<uint8_t> run() {
    if (height_ == 0) return {};
    uint32_t run = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        const uint32_t v = at(x, y), left = leftOf(x, y);
        if (reached_[static_cast<std::size_t>(y) * width_ + x]) {
          waiting_.push_back(chainCode(x, y));
          if (waiting_.size() == 1023) {
            putRun(1023);
            run = 0;
          }
        } else if (v != left) {
          putRun(run >= 1023 ? run + 1 : run);
          run = 0;
          putColour(v, left);
          const auto code = chainCode(x, y);
          out_.put(code.first, code.second);
        } else {
          ++run;
        }
      }
    putRun(run >= 1023 ? run + 1 : run);
    return out_.finish();
  }

 private:
  uint32_t at(int x, int y) const { return values_[static_cast<std::size_t>(y) * width_ + x]; }
  uint32_t leftOf(int x, int y) const { return x > 0 ? at(x - 1, y) : y > 0 ? at(width_ - 1, y - 1) : 0; }

  // The number n as n+1 = 2^k + rest: k ones, a zero, rest in k bits; then
  // the chain codes that wait for it.
  void putRun(uint32_t n) {
    int k = 0;
    while ((n + 1) >> (k + 1)) ++k;
    for (int i = 0; i < k; ++i) out_.put(1, 1);
    out_.put(0, 1);
    out_.put(n + 1 - (1u << k), k);
    for (const auto& code : waiting_) out_.put(code.first, code.second);
    waiting_.clear();
  }

  uint32_t swapRedGreen(uint32_t v) const {
    const uint32_t mask = (1u << bits_) - 1;
    const uint32_t r = (v >> (2 * bits_)) & mask, g = (v >> bits_) & mask;
    return g << (2 * bits_) | r << bits_ | (v & mask);
  }

  // A hit: 1 and the slot's distance from the front in 6 bits; a miss: 0 and
  // the value with R and G swapped, which becomes the new front.
  void putColour(uint32_t v, uint32_t left) {
    const uint32_t swappedLeft = swapRedGreen(left);
    const uint32_t key = depth_ >= 8 ? swappedLeft >> (depth_ - 8) : swappedLeft << (8 - depth_);
    std::vector<uint32_t>& slots = cache_[key];
    int& front = front_[key];
    for (int j = 0; j < 64; ++j)
      if (slots[(front + j) & 63] == v) {
        out_.put(1, 1);
        out_.put(static_cast<uint32_t>(j), 6);
        return;
      }
    out_.put(0, 1);
    out_.put(swapRedGreen(v), depth_);
    front = (front + 63) & 63;
    slots[front] = v;
  }

  // Where the colour of (x, y) goes next: to a pixel of the same colour just
  // below that differs from its left neighbour and no chain has reached yet.
  std::pair<uint32_t, int> chainCode(int x, int y) {
    struct Step { int dx; uint32_t code; int length; };
    static const Step kSteps[] = {{0, 3, 2}, {-1, 11, 4}, {+1, 9, 4}, {-2, 10, 4}, {+2, 8, 4}};
    if (y + 1 >= height_) return {0, 1};
    for (const Step& s : kSteps) {
      const int tx = x + s.dx;
      if (tx < 0 || tx >= width_) continue;
      const std::size_t cell = static_cast<std::size_t>(y + 1) * width_ + tx;
      if (reached_[cell] || at(tx, y + 1) != at(x, y) || at(tx, y + 1) == leftOf(tx, y + 1)) continue;
      reached_[cell] = true;
      return {s.code, s.length};
    }
    return {0, 1};
  }

  const int width_, height_;
  const uint32_t* values_;
  const int depth_, bits_;
  std::vector<std::vector<uint32_t>> cache_;
  std::vector<int> front_;
  std::vector<bool> reached_;
  std::vector<std::pair<uint32_t, int>> waiting_;
  BitWriter out_;
};

}  // namespace

std::vector<uint8_t> EncodePic2(int width, int height, const std::vector<uint32_t>& values,
                                const Pic2Options& options) {
  const std::string comment = "made by retro_encoders";
  std::vector<uint8_t> out;
  putText(out, "P2DT");
  putPadded(out, "tester", 18);
  putPadded(out, "subtitl", 8);
  putText(out, "\r\n");
  putPadded(out, options.title, 30);
  putText(out, "\r\n");
  putPadded(out, "glimora", 30);
  putText(out, "\r\n");
  out.push_back(0x1A);
  out.push_back(0);
  putBe16(out, 0);  // flag: no palette
  putBe16(out, 0);  // number
  putBe32(out, 0);  // time
  const uint32_t firstBlock = 124 + static_cast<uint32_t>(comment.size()) + 1;
  putBe32(out, firstBlock);
  putBe16(out, static_cast<uint32_t>(options.depth));
  putBe16(out, static_cast<uint32_t>(options.xAspect));
  putBe16(out, static_cast<uint32_t>(options.yAspect));
  putBe16(out, static_cast<uint32_t>(width));
  putBe16(out, static_cast<uint32_t>(height));
  putBe32(out, 0);
  putText(out, comment);
  out.push_back(0);

  const int bytesPerPixel = (options.depth + 7) / 8;
  auto block = [&](int top, int rows, bool keyed) {
    std::vector<uint8_t> b;
    const uint32_t* first = values.data() + static_cast<std::size_t>(top) * width;
    const std::vector<uint8_t> coded =
        !options.compressed ? std::vector<uint8_t>()
        : options.runLength ? Pic2RunLengthWriter(width, rows, first, options.depth).run()
                            : pic2CodedBlock(width, rows, first, options.depth);
    putText(b, !options.compressed ? (options.littleEndian ? "P2BI" : "P2BM") : options.runLength ? "P2SF" : "P2SS");
    putBe32(b, static_cast<uint32_t>(26 + (options.compressed ? coded.size() : rows * width * bytesPerPixel)));
    putBe16(b, keyed ? 1 : 0);
    putBe16(b, static_cast<uint32_t>(width));
    putBe16(b, static_cast<uint32_t>(rows));
    putBe16(b, 0);
    putBe16(b, static_cast<uint32_t>(top));
    putBe32(b, keyed ? options.key : 0);
    putBe32(b, 0);
    b.insert(b.end(), coded.begin(), coded.end());
    for (int y = top; y < top + rows && !options.compressed; ++y)
      for (int x = 0; x < width; ++x) {
        const uint32_t v = values[static_cast<std::size_t>(y) * width + x];
        if (bytesPerPixel == 3) {
          b.push_back(static_cast<uint8_t>(v >> 16));
          b.push_back(static_cast<uint8_t>(v >> 8));
          b.push_back(static_cast<uint8_t>(v));
        } else if (options.littleEndian) {
          putLe16(b, v);
        } else {
          putBe16(b, v);
        }
      }
    out.insert(out.end(), b.begin(), b.end());
  };
  if (options.twoBlocks) {
    block(0, height / 2, false);
    block(height / 2, height - height / 2, options.keyedSecondBlock);
  } else {
    block(0, height, false);
  }
  putBe32(out, 0);
  putBe32(out, 0);
  return out;
}

// ---------------------------------------------------------------- XLD4
namespace {

constexpr int kRunSymbol = 16;

// Symbols 0..16 of a run-length stream for `count` pixels.
std::vector<uint8_t> runLengthSymbols(const uint8_t* pixels, std::size_t count) {
  std::vector<uint8_t> s;
  std::size_t i = 0;
  while (i < count) {
    std::size_t run = 1;
    while (i + run < count && pixels[i + run] == pixels[i] && run < 16 * 17 + 16) ++run;
    if (run >= 6) {  // 16, 0, value, high, low
      s.insert(s.end(), {kRunSymbol, 0, pixels[i], static_cast<uint8_t>(run / 17), static_cast<uint8_t>(run % 17)});
    } else {
      s.insert(s.end(), run, pixels[i]);
    }
    i += run;
  }
  return s;
}

// Dictionary code of one chunk: widening codes, value = code + 2, 0 ends.
std::vector<uint8_t> dictionaryCode(const std::vector<uint8_t>& symbols) {
  BitWriter bits;
  int width = 3;
  auto emit = [&](uint32_t value) {
    while (value >= (1u << width)) {
      bits.put(1, width);
      ++width;
    }
    bits.put(value, width);
  };
  std::map<std::pair<int, uint8_t>, int> table;
  int nextCode = 17;
  int current = -1;
  for (uint8_t symbol : symbols) {
    if (current < 0) {
      current = symbol;
      continue;
    }
    const auto found = table.find({current, symbol});
    if (found != table.end()) {
      current = found->second;
      continue;
    }
    emit(static_cast<uint32_t>(current) + 2);
    table[{current, symbol}] = nextCode++;
    current = symbol;
  }
  if (current >= 0) emit(static_cast<uint32_t>(current) + 2);
  if (nextCode >= 16384 - 2) throw std::length_error("XLD4 chunk too long");
  bits.put(0, width);
  return bits.finish();
}

void putChunk(std::vector<uint8_t>& out, const std::vector<uint8_t>& symbols, uint32_t pairs) {
  const std::vector<uint8_t> code = dictionaryCode(symbols);
  if (code.size() > 0xFFFF) throw std::length_error("XLD4 chunk too large");
  putLe16(out, static_cast<uint32_t>(code.size()));
  putLe16(out, 0);
  putLe16(out, pairs);
  out.insert(out.end(), code.begin(), code.end());
}

}  // namespace

std::vector<uint8_t> EncodeXld4(const std::vector<uint8_t>& indexes, const Xld4Palette& palette) {
  constexpr std::size_t kPixels = 640 * 400, kChunkPixels = 640 * 16;
  if (indexes.size() != kPixels) throw std::invalid_argument("XLD4 pictures are 640 x 400");
  std::vector<uint8_t> out(16, 0);
  const char* magic = "MAJYO";
  std::copy(magic, magic + 5, out.begin() + 11);

  // Colour slot of file entry i: bits 3, 0 -> 2, 2..1 -> 1..0.
  std::vector<uint8_t> paletteSymbols;
  for (int i = 0; i < 16; ++i) {
    const int slot = (i & 8) | ((i & 1) << 2) | ((i >> 1) & 3);
    for (uint8_t level : {palette.r[slot], palette.g[slot], palette.b[slot]}) {
      paletteSymbols.push_back(0);
      paletteSymbols.push_back(level);
    }
  }
  putChunk(out, paletteSymbols, 0);
  for (std::size_t at = 0; at < kPixels; at += kChunkPixels)
    putChunk(out, runLengthSymbols(indexes.data() + at, kChunkPixels), kChunkPixels / 2);
  if (out.size() > 0xFFFF) throw std::length_error("XLD4 file over 64 KB");
  out[8] = static_cast<uint8_t>(out.size());
  out[9] = static_cast<uint8_t>(out.size() >> 8);
  return out;
}

}  // namespace retro_test
