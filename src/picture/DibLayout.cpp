#include "picture/DibLayout.h"

#include <algorithm>
#include <cstring>

#include "Checked.h"
#include "picture/InvalidGraphic.h"

namespace picture {

namespace {

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool KnownHeaderSize(uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 64 || size == 108 || size == 124;
}

uint64_t Stride(int width, int bitCount) {
  return (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
}

// Expands BI_RLE8 / BI_RLE4 data into bottom-up rows of one byte per pixel.
// Pixels the data skips stay at index 0; anything outside the picture is
// dropped. The position never goes past the right edge, so runs beyond it
// cost nothing and the position cannot grow without bound.
std::vector<uint8_t> ExpandRunLength(const uint8_t* in, size_t n, int width, int height, bool rle4) {
  size_t stride, bytes;
  if (!checked::Narrow(Stride(width, 8), stride) || !checked::Mul(stride, height, bytes))
    throw InvalidGraphic("bitmap too large");
  std::vector<uint8_t> out(bytes, 0);
  int x = 0, y = 0;
  // Pixels k = 0 .. count-1 of a run, where they land on the current row.
  auto run = [&](int count, auto pixel) {
    const int shown = std::min(count, width - x);
    uint8_t* row = out.data() + static_cast<size_t>(y) * stride + x;
    for (int k = 0; k < shown; ++k) row[k] = pixel(k);
    x += std::max(shown, 0);
  };
  size_t i = 0;
  while (i + 1 < n && y < height) {
    const uint8_t count = in[i], value = in[i + 1];
    i += 2;
    if (count > 0) {
      run(count, [&](int k) { return rle4 ? static_cast<uint8_t>((k & 1) ? value & 15 : value >> 4) : value; });
    } else if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta
      if (i + 1 >= n) break;
      x = std::min(x + in[i], width);
      y += in[i + 1];
      i += 2;
    } else {  // literal run, padded to a 16-bit boundary
      const size_t literal = rle4 ? (value + 1u) / 2 : value;
      if (!checked::InRange(i, literal, n)) throw InvalidGraphic("run-length data cut short");
      const uint8_t* p = in + i;
      run(value, [&](int k) { return rle4 ? static_cast<uint8_t>((k & 1) ? p[k / 2] & 15 : p[k / 2] >> 4) : p[k]; });
      i += (literal + 1) & ~static_cast<size_t>(1);
    }
  }
  return out;
}

// Header fields into `dib`; returns the header's size and sets the colour
// table's entry size (3 for the core header's triples, else 4).
uint32_t ReadHeader(const uint8_t* p, size_t headerBytes, DibLayout& dib, bool& topDown, size_t& entrySize,
                    uint32_t& coloursUsed, const DibLimits& limits) {
  if (!p || headerBytes < 12) throw InvalidGraphic("no bitmap header");
  const uint32_t size = Get32(p);
  long long height;
  entrySize = 4;
  coloursUsed = 0;
  if (size == 12) {  // BITMAPCOREHEADER: 16-bit sizes, always bottom-up, RGB triples
    dib.width = Get16(p + 4);
    height = Get16(p + 6);
    dib.bitCount = Get16(p + 10);
    entrySize = 3;
  } else if (KnownHeaderSize(size) && headerBytes >= size) {
    dib.width = static_cast<int32_t>(Get32(p + 4));
    height = static_cast<int32_t>(Get32(p + 8));
    dib.bitCount = Get16(p + 14);
    dib.compression = Get32(p + 16);
    coloursUsed = Get32(p + 32);
  } else {
    throw InvalidGraphic("unknown bitmap header");
  }
  topDown = height < 0;
  if (topDown) height = -height;
  if (dib.width <= 0 || height == 0 || dib.width > limits.maxSide || height > limits.maxSide ||
      dib.width * height > limits.maxPixels)
    throw InvalidGraphic("bitmap size out of range");
  dib.height = static_cast<int>(height);
  return size;
}

void ReadColours(const uint8_t* p, size_t headerBytes, size_t pos, size_t entrySize, uint32_t used,
                 DibLayout& dib) {
  const uint32_t most = 1u << dib.bitCount;
  if (used > most) throw InvalidGraphic("more colours than the depth allows");
  const uint32_t count = used == 0 ? most : used;
  if (!checked::InRange(pos, count * entrySize, headerBytes)) throw InvalidGraphic("colour table cut short");
  dib.colours.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* e = p + pos + i * entrySize;
    dib.colours[i] = {e[0], e[1], e[2], 0};
  }
}

}  // namespace

size_t DibLayout::Stride() const { return static_cast<size_t>(picture::Stride(width, bitCount)); }

DibLayout ReadDibLayout(const uint8_t* p, size_t headerBytes, const uint8_t* bits, size_t bitsBytes,
                        const DibLimits& limits) {
  DibLayout dib;
  bool topDown;
  size_t entrySize;
  uint32_t used;
  size_t pos = ReadHeader(p, headerBytes, dib, topDown, entrySize, used, limits);

  const int bpp = dib.bitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    throw InvalidGraphic("unsupported bit count");
  const uint32_t c = dib.compression;
  const bool rle = c == DibLayout::kRle8 || c == DibLayout::kRle4;
  const bool valid = c == DibLayout::kRgb || (c == DibLayout::kRle8 && bpp == 8 && !topDown) ||
                     (c == DibLayout::kRle4 && bpp == 4 && !topDown) ||
                     (c == DibLayout::kBitfields && (bpp == 16 || bpp == 32));
  if (!valid) throw InvalidGraphic("unsupported compression");

  if (c == DibLayout::kBitfields) {
    const uint8_t* m;
    if (pos >= 52) {
      m = p + 40;
    } else {
      if (!checked::InRange(pos, 12, headerBytes)) throw InvalidGraphic("colour masks missing");
      m = p + pos;
      pos += 12;
    }
    for (int i = 0; i < 3; ++i) dib.masks[i] = Get32(m + 4 * i);
    if (!dib.masks[0] || !dib.masks[1] || !dib.masks[2]) throw InvalidGraphic("empty colour mask");
  }
  if (bpp <= 8) ReadColours(p, headerBytes, pos, entrySize, used, dib);

  if (!bits) throw InvalidGraphic("no pixel data");
  if (rle) {
    dib.ownBits = ExpandRunLength(bits, bitsBytes, dib.width, dib.height, c == DibLayout::kRle4);
    dib.bitCount = 8;
    dib.compression = DibLayout::kRgb;
  } else {
    const size_t stride = dib.Stride();
    size_t bytes;
    if (!checked::Mul(stride, dib.height, bytes) || bytes > bitsBytes) throw InvalidGraphic("pixel data cut short");
    if (topDown) {
      dib.ownBits.resize(bytes);
      for (int row = 0; row < dib.height; ++row)
        std::memcpy(&dib.ownBits[row * stride], bits + (dib.height - 1 - row) * stride, stride);
    } else {
      dib.bits = bits;
    }
  }
  if (!dib.ownBits.empty()) dib.bits = dib.ownBits.data();
  return dib;
}

DibLayout ReadBitmapFileLayout(const uint8_t* bytes, size_t size, const DibLimits& limits) {
  constexpr size_t kFileHeader = 14;
  if (size < kFileHeader + 12 || bytes[0] != 'B' || bytes[1] != 'M') throw InvalidGraphic("not a bitmap file");
  const uint32_t offBits = Get32(bytes + 10);
  if (offBits < kFileHeader + 12 || offBits > size) throw InvalidGraphic("bad pixel offset");
  return ReadDibLayout(bytes + kFileHeader, size - kFileHeader, bytes + offBits, size - offBits, limits);
}

}  // namespace picture
