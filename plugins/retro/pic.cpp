// X68000 PIC ("PIC"): comment up to 0x1A, filler up to 0x00, then big-endian
// words: type (reserved byte, model in the low nibble of the next byte),
// depth (4, 8, 15, 16), width, height; 4- and 8-bit pictures carry a palette
// of X68000 colours (GGGGGRRRRRBBBBBI). The picture is one linear run of
// pixels: a run length, then the colour of the next change point (through a
// 128-entry recently-used cache for 15/16 bits), optionally followed by a
// chain of change points on the lines below carrying the same colour.
#include <cstring>
#include <vector>

#include "Checked.h"
#include "bitreader.h"
#include "common.h"

namespace retro {
namespace {

using namespace detail;

constexpr int kModelX68000 = 0;
constexpr int32_t kUnset = -1;

bool sniff(const uint8_t* head, std::size_t size) {
  return size >= 3 && std::memcmp(head, "PIC", 3) == 0;
}

// 128 slots; a new colour replaces the least recently used slot, a hit on a
// slot makes it the most recently used. Slots are named by their fixed number.
class ColourCache {
 public:
  ColourCache() {
    // Slot 0 starts as the most recent; then 127, 126, ... down to 1, the oldest.
    for (int i = 0; i < kSlots; ++i) {
      older_[i] = static_cast<uint8_t>((i + 1) % kSlots);
      newer_[i] = static_cast<uint8_t>((i + kSlots - 1) % kSlots);
    }
  }

  void add(uint32_t colour) {
    newest_ = older_[newest_];  // the oldest slot, in the circle just behind the newest
    value_[newest_] = colour;
  }

  uint32_t use(int slot) {
    if (slot != newest_) {
      // Unlink the slot and put it back between the oldest and the newest.
      newer_[older_[slot]] = newer_[slot];
      older_[newer_[slot]] = older_[slot];
      const int oldest = older_[newest_];
      newer_[oldest] = static_cast<uint8_t>(slot);
      older_[slot] = static_cast<uint8_t>(oldest);
      older_[newest_] = static_cast<uint8_t>(slot);
      newer_[slot] = static_cast<uint8_t>(newest_);
      newest_ = slot;
    }
    return value_[slot];
  }

 private:
  static constexpr int kSlots = 128;
  uint32_t value_[kSlots] = {};
  uint8_t older_[kSlots];
  uint8_t newer_[kSlots];
  int newest_ = 0;
};

// An X68000 colour GGGGGRRRRRBBBBBI as 0x00RRGGBB; I is the low bit of each component.
uint32_t x68kColour(uint32_t c) {
  const uint32_t i = c & 1;
  auto component = [i](uint32_t five) {
    const uint32_t v = (five << 3) | (i << 2);
    return v | (v >> 6);
  };
  return (component((c >> 6) & 31) << 16) | (component((c >> 11) & 31) << 8) | component((c >> 1) & 31);
}

// Run lengths: n one-bits, a zero, then n+1 bits v; the length is v + 2^(n+1) - 1.
uint32_t readLength(BitReader& bits) {
  int width = 1;
  while (width < 21 && bits.bit()) ++width;
  return bits.bits(width) + (1u << width) - 1;
}

struct Layout {
  int depth = 0;
  std::size_t body = 0;  // palette or data
};

Status readHeader(const uint8_t* data, std::size_t size, Image& out, Layout& layout) {
  const std::size_t eof = findByte(data, size, 3, 0x1A);
  const std::size_t zero = findByte(data, size, eof + 1, 0x00);
  if (eof >= size || !checked::InRange(zero, 9, size)) return kBroken;
  out.comment = commentText(data, 3, eof);
  const uint8_t* h = data + zero + 1;
  if (h[0] != 0 || (h[1] & 15) != kModelX68000) return kUnknownFormat;  // other machines' variants
  layout.depth = static_cast<int>(be16(h + 2));
  if (layout.depth != 4 && layout.depth != 8 && layout.depth != 15 && layout.depth != 16) return kBroken;
  out.width = static_cast<int>(be16(h + 4));
  out.height = static_cast<int>(be16(h + 6));
  out.depth = layout.depth;
  out.indexed = layout.depth <= 8;
  // The X68000 variant stores no pixel aspect; its pictures are shown square.
  setAspect(out, 1, 1);
  layout.body = zero + 9;
  // The working buffer holds one 32-bit value per pixel.
  if (Status s = checkSize(out.width, out.height, 4); s != kOk) return s;
  return checkSize(out.width, out.height, out.indexed ? 1 : 3);
}

// Fills `work` with colours (indexes for palette pictures).
Status expand(BitReader& bits, int depth, const std::vector<uint32_t>& palette,
              std::vector<int32_t>& work, int width, int height, const Progress& progress) {
  const long long total = static_cast<long long>(width) * height;
  ColourCache cache;
  int32_t colour = 0;
  long long at = -1;
  long long nextRow = width;
  for (;;) {
    // Pixels before the next change point keep the current colour, unless a
    // chain from above already set them; such a pixel becomes the current colour.
    for (uint32_t run = readLength(bits); run > 1; --run) {
      ++at;
      if (work[at] == kUnset)
        work[at] = colour;
      else
        colour = work[at];
      if (at >= total - 1) return bits.overrun() ? kBroken : kOk;
    }
    if (depth <= 8) {
      const uint32_t index = bits.bits(depth);
      if (index >= palette.size()) return kBroken;
      colour = static_cast<int32_t>(index);
    } else if (bits.bit()) {
      colour = static_cast<int32_t>(cache.use(static_cast<int>(bits.bits(7))));
    } else {
      uint32_t raw = bits.bits(depth);
      if (depth == 15) raw <<= 1;
      colour = static_cast<int32_t>(x68kColour(raw));
      cache.add(static_cast<uint32_t>(colour));
    }
    work[++at] = colour;
    if (bits.overrun()) return kBroken;
    if (at >= total - 1) return kOk;
    if (bits.bit()) {
      long long link = at;
      for (;;) {
        const uint32_t step = bits.bits(2);
        if (step == 0) {
          if (!bits.bit()) break;
          link += bits.bit() ? 2 : -2;
        } else {
          link += static_cast<long long>(step) - 2;  // 1: left, 2: below, 3: right
        }
        link += width;
        if (bits.overrun() || link < 0 || link >= total) return kBroken;
        work[link] = colour;
      }
    }
    if (bits.overrun()) return kBroken;
    if (at >= nextRow) {
      if (stopRequested(progress, static_cast<int>(at / width), height)) return kAborted;
      nextRow = (at / width + 1) * width;
    }
  }
}

// The pixels of a file whose header readHeader has taken.
Status readPixels(const uint8_t* data, std::size_t size, const Layout& layout, Image& out,
                  const Progress& progress) {
  std::size_t stream = layout.body;
  if (layout.depth <= 8) {
    const std::size_t colours = std::size_t{1} << layout.depth;
    if (!checked::InRange(stream, colours * 2, size)) return kBroken;
    for (std::size_t i = 0; i < colours; ++i) out.palette.push_back(x68kColour(be16(data + stream + i * 2)));
    stream += colours * 2;
  }

  std::vector<int32_t> work(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height), kUnset);
  BitReader bits(data, size, stream);
  if (Status s = expand(bits, layout.depth, out.palette, work, out.width, out.height, progress); s != kOk)
    return s;
  if (stopRequested(progress, out.height, out.height)) return kAborted;

  allocatePixels(out);
  for (std::size_t i = 0; i < work.size(); ++i) {
    const uint32_t c = static_cast<uint32_t>(work[i] == kUnset ? 0 : work[i]);
    if (out.indexed) {
      out.pixels[i] = static_cast<uint8_t>(c);
    } else {
      out.pixels[i * 3] = static_cast<uint8_t>(c);
      out.pixels[i * 3 + 1] = static_cast<uint8_t>(c >> 8);
      out.pixels[i * 3 + 2] = static_cast<uint8_t>(c >> 16);
    }
  }
  return kOk;
}

constexpr Format kPic{"*.pic", "PIC", sniff,
                      detail::pixelsOnlyWhenOk<detail::headerThenPixels<Layout, sniff, readHeader, readPixels>>};

}  // namespace

const Format& PicFormat() { return kPic; }

}  // namespace retro
