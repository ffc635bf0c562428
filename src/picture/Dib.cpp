#include "picture/Dib.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "forms/Error.h"
#include "picture/Display.h"
#include "picture/InvalidGraphic.h"

namespace picture {

namespace {

uint16_t Get16(const BYTE* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Get32(const BYTE* p) {
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
// Pixels the data skips stay at index 0; anything outside the picture is dropped.
std::vector<BYTE> ExpandRunLength(const BYTE* in, size_t n, int width, int height, bool rle4) {
  const size_t stride = static_cast<size_t>(Stride(width, 8));
  std::vector<BYTE> out(stride * height, 0);
  long x = 0, y = 0;
  auto put = [&](BYTE v) {
    if (x < width && y < height) out[y * stride + x] = v;
    ++x;
  };
  size_t i = 0;
  while (i + 1 < n && y < height) {
    const BYTE count = in[i], value = in[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k) put(rle4 ? ((k & 1) ? value & 15 : value >> 4) : value);
    } else if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta
      if (i + 1 >= n) break;
      x += in[i];
      y += in[i + 1];
      i += 2;
    } else {  // literal run, padded to a 16-bit boundary
      const size_t bytes = rle4 ? (value + 1u) / 2 : value;
      if (i + bytes > n) throw InvalidGraphic("run-length data cut short");
      for (int k = 0; k < value; ++k) put(rle4 ? ((k & 1) ? in[i + k / 2] & 15 : in[i + k / 2] >> 4) : in[i + k]);
      i += (bytes + 1) & ~static_cast<size_t>(1);
    }
  }
  return out;
}

}  // namespace

Dib Dib::Read(const void* headerData, size_t headerBytes, const void* bitsData, size_t bitsBytes) {
  const BYTE* p = static_cast<const BYTE*>(headerData);
  if (!p || headerBytes < 12) throw InvalidGraphic("no bitmap header");
  const uint32_t size = Get32(p);
  Dib dib;
  BITMAPINFOHEADER& h = dib.header_;
  size_t entrySize = 4;
  if (size == 12) {  // BITMAPCOREHEADER: 16-bit sizes, always bottom-up, RGB triples
    h.biWidth = Get16(p + 4);
    h.biHeight = Get16(p + 6);
    h.biBitCount = Get16(p + 10);
    h.biCompression = BI_RGB;
    entrySize = 3;
  } else if (KnownHeaderSize(size) && headerBytes >= size) {
    h.biWidth = static_cast<LONG>(Get32(p + 4));
    h.biHeight = static_cast<LONG>(Get32(p + 8));
    h.biBitCount = Get16(p + 14);
    h.biCompression = Get32(p + 16);
    h.biClrUsed = Get32(p + 32);
  } else {
    throw InvalidGraphic("unknown bitmap header");
  }
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biPlanes = 1;

  const bool topDown = h.biHeight < 0;
  const long long height = topDown ? -static_cast<long long>(h.biHeight) : h.biHeight;
  if (h.biWidth <= 0 || height == 0 || h.biWidth > kMaxSide || height > kMaxSide ||
      h.biWidth * height > kMaxPixels)
    throw InvalidGraphic("bitmap size out of range");
  h.biHeight = static_cast<LONG>(height);

  const int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    throw InvalidGraphic("unsupported bit count");
  const bool rle = h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4;
  const bool valid = h.biCompression == BI_RGB ||
                     (h.biCompression == BI_RLE8 && bpp == 8 && !topDown) ||
                     (h.biCompression == BI_RLE4 && bpp == 4 && !topDown) ||
                     (h.biCompression == BI_BITFIELDS && (bpp == 16 || bpp == 32));
  if (!valid) throw InvalidGraphic("unsupported compression");

  size_t pos = size;
  if (h.biCompression == BI_BITFIELDS) {
    const BYTE* m;
    if (size >= 52) {
      m = p + 40;
    } else {
      if (headerBytes < pos + 12) throw InvalidGraphic("colour masks missing");
      m = p + pos;
      pos += 12;
    }
    for (int i = 0; i < 3; ++i) dib.masks_[i] = Get32(m + 4 * i);
    if (!dib.masks_[0] || !dib.masks_[1] || !dib.masks_[2]) throw InvalidGraphic("empty colour mask");
  }

  if (bpp <= 8) {
    const uint32_t most = 1u << bpp;
    if (h.biClrUsed > most) throw InvalidGraphic("more colours than the depth allows");
    const uint32_t count = h.biClrUsed == 0 ? most : h.biClrUsed;
    if (pos + static_cast<uint64_t>(count) * entrySize > headerBytes)
      throw InvalidGraphic("colour table cut short");
    dib.colors_.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
      const BYTE* e = p + pos + i * entrySize;
      dib.colors_[i] = RGBQUAD{e[0], e[1], e[2], 0};
    }
  }
  h.biClrUsed = static_cast<DWORD>(dib.colors_.size());

  const BYTE* bits = static_cast<const BYTE*>(bitsData);
  if (!bits) throw InvalidGraphic("no pixel data");
  if (rle) {
    size_t n = bitsBytes;
    if (h.biSizeImage != 0) n = std::min<size_t>(n, h.biSizeImage);
    dib.ownBits_ = ExpandRunLength(bits, n, h.biWidth, h.biHeight, h.biCompression == BI_RLE4);
    h.biBitCount = 8;
    h.biCompression = BI_RGB;
  } else {
    const uint64_t stride = Stride(h.biWidth, bpp);
    if (stride * height > bitsBytes) throw InvalidGraphic("pixel data cut short");
    if (topDown) {
      dib.ownBits_.resize(static_cast<size_t>(stride * height));
      for (long long row = 0; row < height; ++row)
        std::memcpy(&dib.ownBits_[static_cast<size_t>(row * stride)],
                    bits + (height - 1 - row) * stride, static_cast<size_t>(stride));
    } else {
      dib.bits_ = bits;
    }
  }
  if (!dib.ownBits_.empty()) dib.bits_ = dib.ownBits_.data();
  h.biSizeImage = 0;
  return dib;
}

void Dib::TransferInto(HBITMAP bitmap, HDC reference) const {
  // BITMAPINFO: header, then the three masks or the colour table.
  std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + sizeof(masks_));
  std::memcpy(info.data(), &header_, sizeof(header_));
  if (header_.biCompression == BI_BITFIELDS)
    std::memcpy(&info[sizeof(header_)], masks_, sizeof(masks_));
  else if (!colors_.empty())
    std::memcpy(&info[sizeof(header_)], colors_.data(), colors_.size() * sizeof(RGBQUAD));

  forms::WindowDc screen(nullptr);
  const int lines = SetDIBits(reference ? reference : screen.get(), bitmap, 0, header_.biHeight,
                              bits_, reinterpret_cast<const BITMAPINFO*>(info.data()),
                              DIB_RGB_COLORS);
  if (lines == 0) throw InvalidGraphic("the pixels could not be transferred");
}

forms::BitmapHandle Dib::ToBitmap(HDC reference) const {
  forms::BitmapHandle bitmap = CreateDisplayBitmap(Width(), Height());
  TransferInto(bitmap.get(), reference);
  return bitmap;
}

forms::PaletteHandle Dib::CreatePalette() const {
  if (colors_.empty()) return forms::PaletteHandle();
  std::vector<BYTE> buffer(sizeof(LOGPALETTE) + colors_.size() * sizeof(PALETTEENTRY));
  LOGPALETTE* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<WORD>(colors_.size());
  for (size_t i = 0; i < colors_.size(); ++i)
    palette->palPalEntry[i] = PALETTEENTRY{colors_[i].rgbRed, colors_[i].rgbGreen, colors_[i].rgbBlue, 0};
  forms::PaletteHandle handle(::CreatePalette(palette));
  if (!handle) throw forms::Error("パレットを作れません");
  return handle;
}

}  // namespace picture
