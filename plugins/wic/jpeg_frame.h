// What a sequential JPEG's decoding needs from the segments up to its first
// scan: the frame, the tables, the restart interval and the scan's
// components. Portable: reads bytes only.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "jpeg_entropy.h"
#include "jpeg_markers.h"

namespace wic {

struct JpegComponent {
  int id = 0;
  int factorX = 1, factorY = 1;  // sampling factors
  int quant = 0;
  int dcTable = 0, acTable = 0;
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

// Takes the decoding tables from the segments of one walk (jpeg_markers.h).
class JpegFrameReader {
 public:
  void Take(const JpegSegment& segment);
  // True when the walk reached a scan that holds every component of an
  // 8-bit sequential Huffman frame in gray or YCbCr. False for anything else
  // (other frame kinds, RGB or CMYK, tables missing or broken, no scan).
  bool Decodable() const;
  const JpegFrame& Frame() const { return frame_; }
  // The first byte of the scan's entropy-coded data.
  const uint8_t* ScanData() const { return scan_; }

 private:
  JpegFrame frame_;
  bool refused_ = false;  // a segment this decoder does not take: the rest is not read
  const uint8_t* scan_ = nullptr;
};

}  // namespace wic
