// Pi ("Pi"): 16 or 256 colours. Comment up to 0x1A, filler up to 0x00, then
// mode, aspect n and m, plane count, machine, extension, big-endian width and
// height, an R, G, B palette (absent when mode bit 7 is set) and a bit stream.
// Pixels go in pairs through one linear buffer. Colours are coded as indexes
// into a move-to-front list kept per left-hand colour; copies take runs of
// pairs from two or four pixels left, one or two lines up, or one line up and
// one pixel right or left. Two virtual lines above the picture repeat the
// first pair of colours.
#include <cstring>
#include <vector>

#include "Checked.h"
#include "bitreader.h"
#include "common.h"

namespace retro {
namespace {

using namespace detail;

bool sniff(const uint8_t* head, std::size_t size) {
  return size >= 2 && head[0] == 'P' && head[1] == 'i';
}

struct Layout {
  int planes = 4;
  bool hasPalette = true;
  std::size_t palette = 0;  // offset of the palette (or of the data when absent)
};

Status readHeader(const uint8_t* data, std::size_t size, Image& out, Layout& layout) {
  const std::size_t eof = findByte(data, size, 2, 0x1A);
  const std::size_t zero = findByte(data, size, eof + 1, 0x00);
  if (eof >= size || zero >= size) return kBroken;
  out.comment = commentText(data, 2, eof);
  const std::size_t p = zero + 1;
  if (!checked::InRange(p, 10, size)) return kBroken;
  layout.hasPalette = (data[p] & 0x80) == 0;
  layout.planes = data[p + 3];
  if (layout.planes != 4 && layout.planes != 8) return kBroken;
  // n/m is the height of a pixel over its width.
  setAspect(out, data[p + 2], data[p + 1]);
  const std::size_t sizes = p + 10 + be16(data + p + 8);
  if (!checked::InRange(sizes, 4, size)) return kBroken;
  out.width = static_cast<int>(be16(data + sizes));
  out.height = static_cast<int>(be16(data + sizes + 2));
  out.depth = layout.planes;
  out.indexed = true;
  layout.palette = sizes + 4;
  return checkSize(out.width, out.height, 1);
}

void defaultPalette(Image& out, int colours) {
  for (int i = 0; i < colours; ++i) {
    uint32_t r, g, b;
    if (colours == 16) {  // digital colours: bit 0 blue, 1 red, 2 green, 3 bright
      const uint32_t level = (i & 8) ? 0xFF : 0x77;
      b = (i & 1) ? level : 0;
      r = (i & 2) ? level : 0;
      g = (i & 4) ? level : 0;
    } else {  // G3 R3 B2
      g = widen((i >> 5) & 7, 3);
      r = widen((i >> 2) & 7, 3);
      b = widen(i & 3, 2);
    }
    out.palette.push_back((r << 16) | (g << 8) | b);
  }
}

class PiDecoder {
 public:
  PiDecoder(BitReader& bits, int colours) : bits_(bits), colours_(colours), lists_(colours * colours) {
    for (int c = 0; c < colours; ++c)
      for (int j = 0; j < colours; ++j) lists_[c * colours + j] = static_cast<uint8_t>((c - j) & (colours - 1));
  }

  // One colour, coded as a position in the list of colours that followed `left`.
  uint8_t colour(uint8_t left) {
    int index;
    if (bits_.bit()) {
      index = bits_.bit();
    } else {
      int width = 1;
      const int maxWidth = colours_ == 16 ? 3 : 7;
      while (width < maxWidth && bits_.bit()) ++width;
      index = (1 << width) | static_cast<int>(bits_.bits(width));
    }
    uint8_t* list = lists_.data() + left * colours_;
    const uint8_t c = list[index];
    std::memmove(list + 1, list, static_cast<std::size_t>(index));
    list[0] = c;
    return c;
  }

  // 0: two or four left, 1: one line up, 2: two lines up, 3: up and right, 4: up and left.
  int position() {
    const int code = static_cast<int>(bits_.bits(2));
    return code == 3 ? 3 + bits_.bit() : code;
  }

  // Run length in pairs: n one-bits, a zero, then n bits.
  uint32_t length() {
    int width = 0;
    while (width < 23 && bits_.bit()) ++width;
    return (1u << width) | bits_.bits(width);
  }

 private:
  BitReader& bits_;
  int colours_;
  std::vector<uint8_t> lists_;
};

// The pixels of a file whose header readHeader has taken.
Status readPixels(const uint8_t* data, std::size_t size, const Layout& layout, Image& out,
                  const Progress& progress) {
  const int colours = 1 << layout.planes;
  std::size_t stream = layout.palette;
  if (layout.hasPalette) {
    if (!checked::InRange(layout.palette, colours * 3, size)) return kBroken;
    for (int i = 0; i < colours; ++i) {
      const uint8_t* p = data + layout.palette + i * 3;
      out.palette.push_back((uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2]);
    }
    stream += static_cast<std::size_t>(colours) * 3;
  } else {
    defaultPalette(out, colours);
  }

  const std::size_t width = static_cast<std::size_t>(out.width);
  const std::size_t total = width * static_cast<std::size_t>(out.height);
  const std::size_t base = 2 * width + 4;  // virtual lines; even, so pixel parity is kept
  std::vector<uint8_t> buffer(base + total);
  uint8_t* image = buffer.data() + base;

  BitReader bits(data, size, stream);
  PiDecoder coder(bits, colours);
  const uint8_t first = coder.colour(0);
  const uint8_t second = coder.colour(first);
  for (std::size_t i = 0; i < base; ++i) buffer[i] = (i & 1) ? second : first;

  auto literal = [&](std::size_t at) { image[at] = coder.colour(at == 0 ? 0 : image[at - 1]); };
  std::size_t at = 0;
  int lastPosition = -1;
  std::size_t nextRow = width;
  while (at < total) {
    const int position = coder.position();
    if (position == lastPosition) {
      do {
        literal(at);
        if (at + 1 < total) literal(at + 1);
        at += 2;
      } while (at < total && !bits.overrun() && bits.bit());
      lastPosition = -1;
    } else {
      const uint32_t pairs = coder.length();
      std::size_t distance;
      switch (position) {
        case 0: distance = buffer[base + at - 2] == buffer[base + at - 1] ? 2 : 4; break;
        case 1: distance = width; break;
        case 2: distance = 2 * width; break;
        case 3: distance = width - 1; break;
        default: distance = width + 1; break;
      }
      const std::size_t end = std::min(total, at + 2 * static_cast<std::size_t>(pairs));
      // base >= every distance: sources before the picture fall in the virtual lines.
      for (; at < end; ++at) image[at] = buffer[base + at - distance];
      lastPosition = position;
    }
    if (bits.overrun()) return kBroken;
    if (at >= nextRow || at >= total) {
      const std::size_t rows = std::min(total, at) / width;
      if (stopRequested(progress, static_cast<int>(rows), out.height)) return kAborted;
      nextRow = (rows + 1) * width;
    }
  }

  out.pixels.assign(image, image + total);
  return kOk;
}

constexpr Format kPi = detail::twoPartFormat<Layout, sniff, readHeader, readPixels>("*.pi", "PI");

}  // namespace

const Format& PiFormat() { return kPi; }

}  // namespace retro
