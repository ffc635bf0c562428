#include "jpeg_markers.h"

namespace wic {

JpegMarkers::JpegMarkers(const uint8_t* data, std::size_t size)
    : data_(data), size_(size), ended_(size < 4 || data[0] != 0xFF || data[1] != 0xD8) {}

bool JpegMarkers::Next(JpegSegment& out) {
  while (!ended_ && at_ < size_ && data_[at_] == 0xFF) {
    while (at_ < size_ && data_[at_] == 0xFF) ++at_;  // fill bytes
    if (at_ + 2 >= size_) break;                       // no room for a marker and a length
    const uint8_t marker = data_[at_++];
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;  // no segment follows
    if (marker == 0xD9) break;  // the end before any scan
    const std::size_t length = static_cast<std::size_t>(data_[at_] << 8 | data_[at_ + 1]);
    if (length < 2 || length > size_ - at_) break;
    out.marker = marker;
    out.body = data_ + at_ + 2;
    out.size = length - 2;
    at_ += length;
    ended_ = marker == 0xDA;
    return true;
  }
  ended_ = true;
  return false;
}

}  // namespace wic
