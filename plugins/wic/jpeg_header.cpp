#include "jpeg_header.h"

#include <cstring>

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

void JpegHeaderReader::Take(const JpegSegment& s) {
  if (s.marker == 0xE1 && !haveExif_ && s.size >= 6 && std::memcmp(s.body, "Exif\0\0", 6) == 0) {
    header_.orientation = OrientationIn(s.body + 6, s.size - 6);
    haveExif_ = true;
  } else if (s.marker == 0xE0 && !haveJfif_ && s.size >= 5 && std::memcmp(s.body, "JFIF\0", 5) == 0) {
    DensitiesIn(s.body + 5, s.size - 5, header_);
    haveJfif_ = true;
  } else if (IsFrameMarker(s.marker) && !header_.hasFrame && s.size >= 6) {
    header_.height = s.body[1] << 8 | s.body[2];
    header_.width = s.body[3] << 8 | s.body[4];
    header_.components = s.body[5];
    header_.hasFrame = true;
  } else if (s.marker == 0xFE && !haveComment_) {
    header_.comment.assign(reinterpret_cast<const char*>(s.body), s.size);
    header_.comment.resize(std::strlen(header_.comment.c_str()));  // up to an embedded zero
    haveComment_ = true;
  }
}

JpegHeader ReadJpegHeader(const uint8_t* data, std::size_t size) {
  JpegMarkers markers(data, size);
  JpegHeaderReader reader;
  for (JpegSegment s; markers.Next(s);) reader.Take(s);
  return reader.Header();
}

}  // namespace wic
