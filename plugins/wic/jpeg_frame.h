// The markers of a sequential JPEG up to its first scan: the frame, the
// tables, the restart interval and the scan's components. Portable: reads
// bytes only.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "jpeg_entropy.h"

namespace wic {

struct JpegComponent {
  int id = 0;
  int factorX = 1, factorY = 1;  // sampling factors
  int quant = 0;
  int dcTable = 0, acTable = 0;
  int predictor = 0;  // the last DC value, while the scan is decoded
};

struct JpegFrame {
  bool seen = false;
  int width = 0, height = 0;
  std::vector<JpegComponent> components;
  uint16_t quant[4][64] = {};  // in zigzag order
  bool quantDefined[4] = {};
  Huffman dc[4], ac[4];
  int restartInterval = 0;
  int adobeTransform = -1;
  std::vector<int> scanOrder;  // the frame component of each scan component
};

// Reads the markers from the start of the file to the first scan; true and
// the scan's first byte in scanStart when that scan holds every component of
// an 8-bit sequential Huffman frame in gray or YCbCr. False for anything else
// (other frame kinds, RGB or CMYK, tables missing or broken, no scan).
bool ReadToScan(const uint8_t* data, std::size_t size, JpegFrame& frame, std::size_t& scanStart);

}  // namespace wic
