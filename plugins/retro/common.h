// Small helpers shared by the retro decoders: byte order, comment text,
// size limits, colour scaling and the progress tick.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "image.h"

namespace retro::detail {

inline uint32_t be16(const uint8_t* p) { return (uint32_t{p[0]} << 8) | p[1]; }
inline uint32_t le16(const uint8_t* p) { return uint32_t{p[0]} | (uint32_t{p[1]} << 8); }
inline uint32_t be32(const uint8_t* p) { return (be16(p) << 16) | be16(p + 2); }
inline uint32_t le32(const uint8_t* p) { return le16(p) | (le16(p + 2) << 16); }

// Position of the first `value` in [from, size), or size when there is none.
std::size_t findByte(const uint8_t* data, std::size_t size, std::size_t from, uint8_t value);

// Bytes [begin, end) as comment text (kept in the file's code page), with
// trailing blanks, NULs and line ends removed.
std::string commentText(const uint8_t* data, std::size_t begin, std::size_t end);

// kOk when a width x height image of bytesPerPixel fits the limits, kBroken
// for an empty one, kNoMemory for one that is too large.
Status checkSize(long long width, long long height, int bytesPerPixel);

// Sizes out.pixels for its width, height and kind (indexed or B, G, R).
void allocatePixels(Image& out);

// A colour component of `bits` bits widened to 8 bits.
inline uint8_t widen(uint32_t value, int bits) {
  const uint32_t max = (1u << bits) - 1;
  return static_cast<uint8_t>((value * 255 + max / 2) / max);
}

// Pixel aspect as densities: a pixel `pixelWidth` wide and `pixelHeight` tall
// has densities proportional to 1/width and 1/height, so the host (which
// stretches the dimension with the smaller density) shows the true shape.
// Zero in either gives square pixels.
void setAspect(Image& out, uint32_t pixelWidth, uint32_t pixelHeight);

// Calls the host's progress callback; true when the host asked to stop.
inline bool stopRequested(const Progress& progress, int done, int total) {
  return progress && progress(done, total);
}

using DecodeFunction = Status (*)(const uint8_t*, std::size_t, Image&, bool, const Progress&);

// A decoder in two parts: readHeader checks the header, fills the image's
// header fields and a Layout of the format's own; readPixels decodes the rest.
// A header-only call stops after the header.
template <typename Layout, bool (*sniff)(const uint8_t*, std::size_t),
          Status (*readHeader)(const uint8_t*, std::size_t, Image&, Layout&),
          Status (*readPixels)(const uint8_t*, std::size_t, const Layout&, Image&, const Progress&)>
Status headerThenPixels(const uint8_t* data, std::size_t size, Image& out, bool headerOnly,
                        const Progress& progress) {
  out = Image();
  if (!sniff(data, size)) return kUnknownFormat;
  Layout layout;
  if (Status s = readHeader(data, size, out, layout); s != kOk) return s;
  return headerOnly ? kOk : readPixels(data, size, layout, out, progress);
}

// The decoder as the format table offers it: an image that did not decode
// (any result but kOk) keeps its header fields but holds no pixels or palette.
template <DecodeFunction decode>
Status pixelsOnlyWhenOk(const uint8_t* data, std::size_t size, Image& out, bool headerOnly,
                        const Progress& progress) {
  const Status status = decode(data, size, out, headerOnly, progress);
  if (status != kOk) {
    out.pixels = {};
    out.palette = {};
  }
  return status;
}

// The format table's entry of a decoder in two parts.
template <typename Layout, bool (*sniff)(const uint8_t*, std::size_t),
          Status (*readHeader)(const uint8_t*, std::size_t, Image&, Layout&),
          Status (*readPixels)(const uint8_t*, std::size_t, const Layout&, Image&, const Progress&)>
constexpr Format twoPartFormat(const char* filter, const char* name) {
  return {filter, name, sniff, pixelsOnlyWhenOk<headerThenPixels<Layout, sniff, readHeader, readPixels>>};
}

}  // namespace retro::detail
