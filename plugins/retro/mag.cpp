// MAG ("MAKI02  "): 16 or 256 colours. After the comment (ended by 0x1A) a
// 32-byte little-endian header gives the screen mode, the corners and the
// offsets of three streams: flag A (one bit per flag byte), flag B (bytes
// XOR-ed into the flag row carried over from the line above) and pixel data.
// Each flag nibble covers a 2-byte unit: 0 takes the unit from the pixel
// stream, 1 to 15 copy it from one of fifteen earlier positions.
#include <cstring>
#include <vector>

#include "Checked.h"
#include "bitreader.h"
#include "common.h"

namespace retro {
namespace {

using namespace detail;

constexpr char kSignature[] = "MAKI02  ";
constexpr std::size_t kHeaderSize = 32;
// Copy sources of flag values 1..15: units (2 bytes) to the left, lines up.
constexpr int kUnitsLeft[16] = {0, 1, 2, 4, 0, 1, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0};
constexpr int kLinesUp[16] = {0, 0, 0, 0, 1, 1, 2, 2, 2, 4, 4, 4, 8, 8, 8, 16};

bool sniff(const uint8_t* head, std::size_t size) {
  return size >= 8 && std::memcmp(head, kSignature, 8) == 0;
}

struct Layout {
  std::size_t header = 0;  // offset of the 32-byte header
  int colours = 16;
  int alignedLeft = 0;     // first decoded pixel column (multiple of the flag span)
  int left = 0;            // first column shown
  int bytesPerLine = 0;    // decoded bytes per line
};

Status readHeader(const uint8_t* data, std::size_t size, Image& out, Layout& layout) {
  const std::size_t eof = findByte(data, size, 8, 0x1A);
  if (!checked::InRange(eof + 1, kHeaderSize, size)) return kBroken;
  layout.header = eof + 1;
  const uint8_t* h = data + layout.header;
  const int mode = h[3];
  layout.colours = (mode & 0x80) ? 256 : 16;
  const int x0 = static_cast<int>(le16(h + 4)), y0 = static_cast<int>(le16(h + 6));
  const int x1 = static_cast<int>(le16(h + 8)), y1 = static_cast<int>(le16(h + 10));
  if (x1 < x0 || y1 < y0) return kBroken;
  out.width = x1 - x0 + 1;
  out.height = y1 - y0 + 1;
  out.depth = layout.colours == 256 ? 8 : 4;
  out.indexed = true;
  // 200-line pictures have pixels twice as tall as wide.
  setAspect(out, 1, (mode & 1) ? 2 : 1);
  // The comment follows the signature, the machine (4 bytes) and the user name (18).
  if (eof > 30) out.comment = commentText(data, 30, eof);
  // One flag byte covers 4 data bytes: 8 pixels of 16 colours, 4 of 256.
  const int span = layout.colours == 16 ? 8 : 4;
  layout.left = x0;
  layout.alignedLeft = x0 / span * span;
  const int alignedRight = (x1 / span + 1) * span;
  layout.bytesPerLine = (alignedRight - layout.alignedLeft) / (layout.colours == 16 ? 2 : 1);
  return checkSize(out.width, out.height, 1);
}

// The pixels of a file whose header readHeader has taken.
Status readPixels(const uint8_t* data, std::size_t size, const Layout& layout, Image& out,
                  const Progress& progress) {
  const uint8_t* h = data + layout.header;
  const std::size_t paletteAt = layout.header + kHeaderSize;
  if (!checked::InRange(paletteAt, layout.colours * 3, size)) return kBroken;
  for (int i = 0; i < layout.colours; ++i) {
    const uint8_t* p = data + paletteAt + i * 3;  // G, R, B
    out.palette.push_back((uint32_t{p[1]} << 16) | (uint32_t{p[0]} << 8) | p[2]);
  }

  const unsigned long long flagA = layout.header + static_cast<unsigned long long>(le32(h + 12));
  unsigned long long flagB = layout.header + static_cast<unsigned long long>(le32(h + 16));
  unsigned long long pixel = layout.header + static_cast<unsigned long long>(le32(h + 24));
  const int flagBytes = layout.bytesPerLine / 4;
  const unsigned long long flagABits = static_cast<unsigned long long>(flagBytes) * out.height;
  // Refuse before allocating when the flag A stream cannot even cover the picture.
  if (!checked::InRange(flagA, (flagABits + 7) / 8, size) || flagB > size || pixel > size) return kBroken;
  const std::size_t stride = static_cast<std::size_t>(layout.bytesPerLine);
  if (Status s = checkSize(layout.bytesPerLine, out.height, 1); s != kOk) return s;

  std::vector<uint8_t> plane(stride * static_cast<std::size_t>(out.height));
  std::vector<uint8_t> flags(static_cast<std::size_t>(flagBytes), 0);
  BitReader flagBits(data, size, static_cast<std::size_t>(flagA));
  for (int y = 0; y < out.height; ++y) {
    uint8_t* row = plane.data() + static_cast<std::size_t>(y) * stride;
    for (int f = 0; f < flagBytes; ++f) {
      if (flagBits.bit()) {
        if (flagB >= size) return kBroken;
        flags[f] ^= data[flagB++];
      }
      for (int half = 0; half < 2; ++half) {
        const int value = half == 0 ? flags[f] >> 4 : flags[f] & 15;
        const int x = f * 4 + half * 2;
        if (value == 0) {
          if (!checked::InRange(pixel, 2, size)) return kBroken;
          row[x] = data[pixel];
          row[x + 1] = data[pixel + 1];
          pixel += 2;
          continue;
        }
        const int sx = x - kUnitsLeft[value] * 2, sy = y - kLinesUp[value];
        if (sx < 0 || sy < 0) return kBroken;
        const uint8_t* source = plane.data() + static_cast<std::size_t>(sy) * stride + sx;
        row[x] = source[0];
        row[x + 1] = source[1];
      }
    }
    if (stopRequested(progress, y + 1, out.height)) return kAborted;
  }
  if (flagBits.overrun()) return kBroken;

  allocatePixels(out);
  const int shift = layout.left - layout.alignedLeft;
  for (int y = 0; y < out.height; ++y) {
    const uint8_t* row = plane.data() + static_cast<std::size_t>(y) * stride;
    uint8_t* dst = out.pixels.data() + static_cast<std::size_t>(y) * out.width;
    for (int x = 0; x < out.width; ++x) {
      const int column = x + shift;
      dst[x] = layout.colours == 256 ? row[column]
                                     : ((column & 1) ? row[column / 2] & 15 : row[column / 2] >> 4);
    }
  }
  return kOk;
}

constexpr Format kMag = detail::twoPartFormat<Layout, sniff, readHeader, readPixels>("*.mag", "MAG");

}  // namespace

const Format& MagFormat() { return kMag; }

}  // namespace retro
