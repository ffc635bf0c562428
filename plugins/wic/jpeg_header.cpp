#include "jpeg_header.h"

#include <cstring>

#include "jpeg_markers.h"

namespace wic {
namespace {

struct Reader {  // bounds-checked reads in the byte order of a TIFF block
  const uint8_t* p;
  std::size_t n;
  bool little;
  bool Has(std::size_t at, std::size_t len) const { return at <= n && len <= n - at; }
  unsigned U16(std::size_t at) const {
    return little ? p[at] | p[at + 1] << 8 : p[at] << 8 | p[at + 1];
  }
  uint32_t U32(std::size_t at) const {
    return little ? U16(at) | static_cast<uint32_t>(U16(at + 2)) << 16
                  : static_cast<uint32_t>(U16(at)) << 16 | U16(at + 2);
  }
};

// EXIF block (after "Exif\0\0"): TIFF header, then IFD0 with tag 274.
int OrientationIn(const uint8_t* p, std::size_t n) {
  if (n < 8 || !((p[0] == 'I' && p[1] == 'I') || (p[0] == 'M' && p[1] == 'M'))) return 1;
  const Reader r{p, n, p[0] == 'I'};
  if (r.U16(2) != 42) return 1;
  const uint32_t ifd = r.U32(4);
  if (!r.Has(ifd, 2)) return 1;
  const unsigned count = r.U16(ifd);
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t entry = ifd + 2 + 12u * i;
    if (!r.Has(entry, 12)) return 1;
    if (r.U16(entry) == 274 && r.U16(entry + 2) == 3 /* SHORT */) {
      const unsigned v = r.U16(entry + 8);
      return v >= 1 && v <= 8 ? static_cast<int>(v) : 1;
    }
  }
  return 1;
}

// JFIF block (after "JFIF\0"): version, units, horizontal and vertical density.
void DensitiesIn(const uint8_t* p, std::size_t n, JpegHeader& out) {
  if (n < 7) return;
  unsigned x = p[3] << 8 | p[4], y = p[5] << 8 | p[6];
  if (x == 0 || y == 0 || x == y) return;
  unsigned a = x, b = y;
  while (b != 0) {
    const unsigned r = a % b;
    a = b;
    b = r;
  }
  out.xDensity = static_cast<uint16_t>(x / a);
  out.yDensity = static_cast<uint16_t>(y / a);
}

}  // namespace

JpegHeader ReadJpegHeader(const uint8_t* data, std::size_t size) {
  JpegHeader header;
  bool haveExif = false, haveComment = false, haveJfif = false;
  JpegMarkers markers(data, size);
  for (JpegSegment s; markers.Next(s);) {
    const uint8_t* body = s.body;
    const std::size_t bodySize = s.size;
    if (s.marker == 0xE1 && !haveExif && bodySize >= 6 && std::memcmp(body, "Exif\0\0", 6) == 0) {
      header.orientation = OrientationIn(body + 6, bodySize - 6);
      haveExif = true;
    } else if (s.marker == 0xE0 && !haveJfif && bodySize >= 5 && std::memcmp(body, "JFIF\0", 5) == 0) {
      DensitiesIn(body + 5, bodySize - 5, header);
      haveJfif = true;
    } else if (IsFrameMarker(s.marker) && !header.hasFrame && bodySize >= 6) {
      header.height = body[1] << 8 | body[2];
      header.width = body[3] << 8 | body[4];
      header.components = body[5];
      header.hasFrame = true;
    } else if (s.marker == 0xFE && !haveComment) {
      header.comment.assign(reinterpret_cast<const char*>(body), bodySize);
      header.comment.resize(std::strlen(header.comment.c_str()));  // up to an embedded zero
      haveComment = true;
    }
  }
  return header;
}

}  // namespace wic
