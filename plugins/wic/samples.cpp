#include "samples.h"

#include <cstring>

namespace wic {
namespace {

struct Row {
  const WICPixelFormatGUID* format;
  Layout layout;
  int bytes;
};

const Row kRows[] = {
    {&GUID_WICPixelFormat16bppGray, Layout::kGray16, 2},
    {&GUID_WICPixelFormat48bppRGB, Layout::kRgb48, 6},
    {&GUID_WICPixelFormat48bppBGR, Layout::kBgr48, 6},
    {&GUID_WICPixelFormat64bppRGB, Layout::kRgb64, 8},
    {&GUID_WICPixelFormat64bppRGBA, Layout::kRgba64, 8},
    {&GUID_WICPixelFormat64bppBGRA, Layout::kBgra64, 8},
    {&GUID_WICPixelFormat64bppPRGBA, Layout::kPrgba64, 8},
    {&GUID_WICPixelFormat64bppPBGRA, Layout::kPbgra64, 8},
};

// The high byte of 16-bit sample number i; `high` is 1 for little-endian
// samples, 0 for big-endian ones.
inline BYTE High(const BYTE* pixel, int i, int high) { return pixel[2 * i + high]; }

// A colour byte over black with straight alpha, rounded.
inline BYTE OnBlack(BYTE colour, BYTE alpha) {
  return static_cast<BYTE>((colour * alpha + 127) / 255);
}

// Sample positions of blue, green and red, and of alpha (-1: none).
struct Order {
  int b, g, r, a;
  bool premultiplied;
};

Order OrderOf(Layout layout) {
  switch (layout) {
    case Layout::kRgb48:
    case Layout::kRgb64: return {2, 1, 0, -1, true};
    case Layout::kBgr48: return {0, 1, 2, -1, true};
    case Layout::kRgba64: return {2, 1, 0, 3, false};
    case Layout::kBgra64: return {0, 1, 2, 3, false};
    case Layout::kPrgba64: return {2, 1, 0, 3, true};
    default: return {0, 1, 2, 3, true};  // kPbgra64
  }
}

void Wide(Layout layout, int high, int in, const BYTE* from, UINT width, BYTE* to) {
  const Order o = OrderOf(layout);
  for (UINT x = 0; x < width; ++x, from += in, to += 3) {
    BYTE b = High(from, o.b, high), g = High(from, o.g, high), r = High(from, o.r, high);
    if (!o.premultiplied) {
      const BYTE a = High(from, o.a, high);
      b = OnBlack(b, a), g = OnBlack(g, a), r = OnBlack(r, a);
    }
    to[0] = b, to[1] = g, to[2] = r;
  }
}

}  // namespace

bool LayoutOf(const WICPixelFormatGUID& format, Layout& layout, int& bytes) {
  for (const Row& row : kRows)
    if (format == *row.format) {
      layout = row.layout;
      bytes = row.bytes;
      return true;
    }
  return false;
}

void ToDibRow(Layout layout, SampleOrder order, int in, int out, const BYTE* from, UINT width,
              BYTE* to) {
  const int high = order == SampleOrder::kLittleEndian ? 1 : 0;
  switch (layout) {
    case Layout::kDirect:
      std::memcpy(to, from, static_cast<std::size_t>(width) * out);
      return;
    case Layout::kPbgra32:
      for (UINT x = 0; x < width; ++x, from += 4, to += 3) to[0] = from[0], to[1] = from[1], to[2] = from[2];
      return;
    case Layout::kGray16:
      for (UINT x = 0; x < width; ++x, from += 2) to[x] = High(from, 0, high);
      return;
    default:
      Wide(layout, high, in, from, width, to);
  }
}

}  // namespace wic
