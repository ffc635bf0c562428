// Windows metafiles (placeable with the 22-byte header, or plain) and
// enhanced metafiles, played at their own size over kMetafileBackground.
// Every record is walked before GDI sees the bytes, so a record that claims
// more than the file holds is refused here.
#include <cstdint>
#include <cstdlib>

#include "picture/Display.h"
#include "picture/InvalidGraphic.h"
#include "picture/NativeFormats.h"

namespace picture {

namespace {

struct MetafileDeleter { void operator()(HMETAFILE h) const { DeleteMetaFile(h); } };
struct EnhMetafileDeleter { void operator()(HENHMETAFILE h) const { DeleteEnhMetaFile(h); } };
using MetafileHandle = forms::Owned<HMETAFILE, MetafileDeleter>;
using EnhMetafileHandle = forms::Owned<HENHMETAFILE, EnhMetafileDeleter>;

uint16_t Get16(const BYTE* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
int16_t GetS16(const BYTE* p) { return static_cast<int16_t>(Get16(p)); }
uint32_t Get32(const BYTE* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr uint16_t kMetaEof = 0x0000, kMetaSetWindowOrg = 0x020B, kMetaSetWindowExt = 0x020C;

int CheckedSide(long long pixels) {
  if (pixels <= 0 || pixels > kMaxSide) throw InvalidGraphic("metafile size out of range");
  return static_cast<int>(pixels);
}

void CheckArea(int width, int height) {
  if (1LL * width * height > kMaxPixels) throw InvalidGraphic("metafile too large");
}

// The logical window a plain metafile sets up for itself.
struct Window {
  int orgX = 0, orgY = 0, extX = 0, extY = 0;
  bool hasExtent = false;
};

// Checks the 18-byte header and every record; returns the metafile's length
// in bytes and, for plain files, the window it sets.
size_t WalkWindowsMetafile(const BYTE* p, size_t n, Window& window) {
  if (n < 18) throw InvalidGraphic("metafile header cut short");
  const uint16_t type = Get16(p), headerWords = Get16(p + 2);
  const uint64_t bytes = static_cast<uint64_t>(Get32(p + 6)) * 2;
  if ((type != 1 && type != 2) || headerWords != 9 || bytes < 18 + 6 || bytes > n)
    throw InvalidGraphic("bad metafile header");
  for (uint64_t at = 18; at + 6 <= bytes;) {
    const uint64_t size = static_cast<uint64_t>(Get32(p + at)) * 2;
    const uint16_t function = Get16(p + at + 4);
    if (size < 6 || at + size > bytes) throw InvalidGraphic("metafile record out of bounds");
    if (function == kMetaEof) return static_cast<size_t>(bytes);
    if (size >= 10 && (function == kMetaSetWindowExt || function == kMetaSetWindowOrg)) {
      const int y = GetS16(p + at + 6), x = GetS16(p + at + 8);  // parameters come y first
      if (function == kMetaSetWindowExt && !window.hasExtent) {
        window.extX = x;
        window.extY = y;
        window.hasExtent = true;
      } else if (function == kMetaSetWindowOrg) {
        window.orgX = x;
        window.orgY = y;
      }
    }
    at += size;
  }
  throw InvalidGraphic("metafile without end record");
}

}  // namespace

LoadedPicture DecodeWindowsMetafile(const std::vector<BYTE>& bytes) {
  const BYTE* p = bytes.data();
  size_t n = bytes.size();
  Window window;
  int width, height;
  if (n >= 22 && Get32(p) == kPlaceableKey) {
    // Placeable header: bounding box in logical units and units per inch.
    uint16_t sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= Get16(p + 2 * i);
    const int left = GetS16(p + 6), top = GetS16(p + 8), right = GetS16(p + 10), bottom = GetS16(p + 12);
    const int inch = Get16(p + 14);
    if (sum != Get16(p + 20) || inch == 0 || right == left || bottom == top)
      throw InvalidGraphic("bad placeable header");
    window.orgX = left;
    window.orgY = top;
    window.extX = right - left;
    window.extY = bottom - top;
    width = CheckedSide(MulDiv(std::abs(window.extX), ScreenPixelsPerInchX(), inch));
    height = CheckedSide(MulDiv(std::abs(window.extY), ScreenPixelsPerInchY(), inch));
    Window ignored;
    p += 22;
    n = WalkWindowsMetafile(p, n - 22, ignored);
  } else {
    // Plain: the picture is as large as the window its records set, one unit a pixel.
    n = WalkWindowsMetafile(p, n, window);
    if (!window.hasExtent) throw InvalidGraphic("plain metafile without a window extent");
    width = CheckedSide(std::abs(window.extX));
    height = CheckedSide(std::abs(window.extY));
  }
  CheckArea(width, height);
  MetafileHandle metafile(SetMetaFileBitsEx(static_cast<UINT>(n), p));
  if (!metafile) throw InvalidGraphic("metafile rejected");
  DrawingSurface surface(width, height, kMetafileBackground);
  HDC dc = surface.Dc();
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowOrgEx(dc, window.orgX, window.orgY, nullptr);
  SetWindowExtEx(dc, window.extX, window.extY, nullptr);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SetViewportExtEx(dc, width, height, nullptr);
  PlayMetaFile(dc, metafile.get());
  SetMapMode(dc, MM_TEXT);
  return surface.Finish();
}

LoadedPicture DecodeEnhancedMetafile(const std::vector<BYTE>& bytes) {
  const BYTE* p = bytes.data();
  const size_t n = bytes.size();
  // ENHMETAHEADER: type, size, bounds (pixels), frame (0.01 mm), signature, ..., total bytes.
  if (n < 88 || Get32(p) != EMR_HEADER || Get32(p + 40) != ENHMETA_SIGNATURE)
    throw InvalidGraphic("not an enhanced metafile");
  const uint32_t headerSize = Get32(p + 4), total = Get32(p + 48);
  if (headerSize < 88 || headerSize > total || total > n || total % 4)
    throw InvalidGraphic("bad enhanced metafile header");
  // The reference device's size in pixels and millimetres sets the scale at
  // which the records are played; an absurd ratio would blow the drawing up
  // to millions of pixels.
  for (int axis = 0; axis < 2; ++axis) {
    const int32_t pixels = static_cast<int32_t>(Get32(p + 72 + 4 * axis));
    const int32_t millimetres = static_cast<int32_t>(Get32(p + 80 + 4 * axis));
    if (pixels <= 0 || millimetres <= 0 || pixels > 1000LL * millimetres || 10LL * pixels < millimetres)
      throw InvalidGraphic("implausible reference device");
  }
  bool ended = false;
  for (uint64_t at = 0; at + 8 <= total;) {
    const uint32_t type = Get32(p + at), size = Get32(p + at + 4);
    if (size < 8 || size % 4 || at + size > total) throw InvalidGraphic("record out of bounds");
    if (type == EMR_EOF) {
      ended = true;
      break;
    }
    at += size;
  }
  if (!ended) throw InvalidGraphic("enhanced metafile without end record");

  const int32_t frameW = static_cast<int32_t>(Get32(p + 32)) - static_cast<int32_t>(Get32(p + 24));
  const int32_t frameH = static_cast<int32_t>(Get32(p + 36)) - static_cast<int32_t>(Get32(p + 28));
  long long width, height;
  if (frameW > 0 && frameH > 0) {  // the frame in 0.01 mm, at the screen's resolution
    width = MulDiv(frameW, ScreenPixelsPerInchX(), 2540);
    height = MulDiv(frameH, ScreenPixelsPerInchY(), 2540);
  } else {  // no frame: the bounds in device pixels (inclusive)
    width = 1LL + static_cast<int32_t>(Get32(p + 16)) - static_cast<int32_t>(Get32(p + 8));
    height = 1LL + static_cast<int32_t>(Get32(p + 20)) - static_cast<int32_t>(Get32(p + 12));
  }
  const int w = CheckedSide(width), h = CheckedSide(height);
  CheckArea(w, h);
  EnhMetafileHandle metafile(SetEnhMetaFileBits(total, p));
  if (!metafile) throw InvalidGraphic("enhanced metafile rejected");
  DrawingSurface surface(w, h, kMetafileBackground);
  const RECT all = {0, 0, w, h};
  PlayEnhMetaFile(surface.Dc(), metafile.get(), &all);
  return surface.Finish();
}

LoadedPicture ReadWindowsMetafile(const std::string& fileName) {
  return DecodeWindowsMetafile(ReadWholeFile(fileName));
}

LoadedPicture ReadEnhancedMetafile(const std::string& fileName) {
  return DecodeEnhancedMetafile(ReadWholeFile(fileName));
}

}  // namespace picture
