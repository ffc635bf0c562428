// The layouts of decoded rows that we turn into DIB pixels ourselves, and
// the turning. 16-bit samples are reduced here, by their high byte, rather
// than by the imaging component's converter: Windows' converter takes the
// high byte, Wine's the low one.
#pragma once
#include <wincodec.h>

namespace wic {

enum class Layout {
  kDirect,     // already in the DIB's form: 8-bit index/gray or 24-bit BGR
  kPbgra32,    // premultiplied BGRA: drop the fourth byte
  kGray16,     // one little-endian 16-bit sample
  kRgb48,      // R, G, B
  kBgr48,      // B, G, R
  kRgb64,      // R, G, B, unused
  kRgba64,     // R, G, B, A, straight alpha
  kBgra64,     // B, G, R, A, straight alpha
  kPrgba64,    // R, G, B, A, premultiplied
  kPbgra64,    // B, G, R, A, premultiplied
};

// The layout of a WIC pixel format we read ourselves, with its bytes per
// pixel; false for any other format.
bool LayoutOf(const WICPixelFormatGUID& format, Layout& layout, int& bytes);

// How the decoder hands over 16-bit samples: little-endian as WIC defines
// it, or (Wine's TIFF decoder with big-endian files) in the file's order.
enum class SampleOrder { kLittleEndian, kBigEndian };

// One row of `width` pixels in `layout` to DIB pixels of `out` bytes
// (1: gray, 3: BGR). Transparent parts come out composited onto black.
void ToDibRow(Layout layout, SampleOrder order, int in, int out, const BYTE* from, UINT width,
              BYTE* to);

}  // namespace wic
