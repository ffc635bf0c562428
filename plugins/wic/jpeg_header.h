// What a JPEG file says about itself before the picture data: size, colour
// components, pixel densities, EXIF orientation and comment. Read here rather
// than through WIC, whose decoder in Wine decodes the whole picture when it
// opens the file and has no EXIF query. Portable: reads bytes only.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "jpeg_markers.h"

namespace wic {

struct JpegHeader {
  bool hasFrame = false;  // a frame header (SOFn) came before the first scan
  int width = 0, height = 0;
  int components = 0;     // 1 gray, 3 colour, 4 CMYK
  uint16_t xDensity = 1;  // from JFIF, reduced; 1, 1 when square or absent
  uint16_t yDensity = 1;
  int orientation = 1;    // EXIF tag 274; 1 when absent or invalid
  std::string comment;    // the first COM segment
};

// Takes the facts from the segments of one walk (jpeg_markers.h); the first
// segment of each kind counts.
class JpegHeaderReader {
 public:
  void Take(const JpegSegment& segment);
  const JpegHeader& Header() const { return header_; }

 private:
  JpegHeader header_;
  bool haveExif_ = false, haveJfif_ = false, haveComment_ = false;
};

// The whole walk up to the first scan; stops quietly at anything broken.
JpegHeader ReadJpegHeader(const uint8_t* data, std::size_t size);

}  // namespace wic
