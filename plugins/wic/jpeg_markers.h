// The marker segments at the start of a JPEG file, in order, up to the
// header of its first scan: the one walk that both the file's facts
// (jpeg_header.h) and the decoding tables (jpeg_frame.h) are read from.
// Portable: reads bytes only.
#pragma once
#include <cstddef>
#include <cstdint>

namespace wic {

struct JpegSegment {
  uint8_t marker = 0;
  const uint8_t* body = nullptr;  // after the length field
  std::size_t size = 0;           // of the body
};

// SOFn: a frame header of any kind (not DHT, JPG or DAC, which share its range).
inline bool IsFrameMarker(uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

class JpegMarkers {
 public:
  // Over a whole file's bytes; no segments when they do not begin with SOI.
  JpegMarkers(const uint8_t* data, std::size_t size);

  // The next segment. False once the headers end: after the first scan's
  // header (SOS, whose entropy-coded data begins right after its body), at
  // EOI, and at anything broken. A byte other than 0xFF where a marker
  // belongs is broken too: skipping to the next 0xFF could take bytes
  // inside a segment for a marker.
  bool Next(JpegSegment& out);

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 2;  // after SOI
  bool ended_;
};

}  // namespace wic
