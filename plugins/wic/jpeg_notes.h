// What a JPEG file says about itself outside the picture data: the EXIF
// orientation and the comment. Portable: reads bytes only.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace wic {

struct JpegNotes {
  int orientation = 1;  // EXIF tag 274; 1 when absent or invalid
  std::string comment;  // the first COM segment
};

// Walks the markers before the first scan; stops quietly at anything broken.
JpegNotes ReadJpegNotes(const uint8_t* data, std::size_t size);

}  // namespace wic
