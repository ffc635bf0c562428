#include "picture/MetafileLayout.h"

#include "Checked.h"
#include "picture/InvalidGraphic.h"

namespace picture {

namespace {

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
int16_t GetS16(const uint8_t* p) { return static_cast<int16_t>(Get16(p)); }
uint32_t Get32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
int32_t GetS32(const uint8_t* p) { return static_cast<int32_t>(Get32(p)); }

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr uint16_t kMetaEof = 0x0000, kMetaSetWindowOrg = 0x020B, kMetaSetWindowExt = 0x020C;
constexpr uint32_t kEmrHeader = 1, kEmrEof = 14, kEnhMetaSignature = 0x464D4520;

// Checks the 18-byte header and every record; returns the metafile's length
// in bytes and the window its records set.
size_t WalkWindowsMetafile(const uint8_t* p, size_t n, MetafileWindow& window) {
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

WindowsMetafileLayout ReadWindowsMetafileLayout(const uint8_t* p, size_t n) {
  WindowsMetafileLayout layout;
  if (n >= 22 && Get32(p) == kPlaceableKey) {
    // Placeable header: bounding box in logical units and units per inch.
    uint16_t sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= Get16(p + 2 * i);
    const int left = GetS16(p + 6), top = GetS16(p + 8), right = GetS16(p + 10), bottom = GetS16(p + 12);
    layout.unitsPerInch = Get16(p + 14);
    if (sum != Get16(p + 20) || layout.unitsPerInch == 0 || right == left || bottom == top)
      throw InvalidGraphic("bad placeable header");
    layout.window = {left, top, right - left, bottom - top, true};  // 16-bit corners: no overflow
    MetafileWindow ignored;
    layout.recordsAt = 22;
    layout.recordsBytes = WalkWindowsMetafile(p + 22, n - 22, ignored);
  } else {
    layout.recordsBytes = WalkWindowsMetafile(p, n, layout.window);
    if (!layout.window.hasExtent) throw InvalidGraphic("plain metafile without a window extent");
  }
  return layout;
}

EnhancedMetafileLayout ReadEnhancedMetafileLayout(const uint8_t* p, size_t n) {
  // ENHMETAHEADER: type, size, bounds (pixels), frame (0.01 mm), signature, ..., total bytes.
  if (n < 88 || Get32(p) != kEmrHeader || Get32(p + 40) != kEnhMetaSignature)
    throw InvalidGraphic("not an enhanced metafile");
  EnhancedMetafileLayout layout;
  const uint32_t headerSize = Get32(p + 4), total = Get32(p + 48);
  if (headerSize < 88 || headerSize > total || total > n || total % 4)
    throw InvalidGraphic("bad enhanced metafile header");
  // The reference device's size in pixels and millimetres sets the scale at
  // which the records are played; an absurd ratio would blow the drawing up
  // to millions of pixels.
  for (int axis = 0; axis < 2; ++axis) {
    const int32_t pixels = GetS32(p + 72 + 4 * axis), millimetres = GetS32(p + 80 + 4 * axis);
    if (pixels <= 0 || millimetres <= 0 || pixels > 1000LL * millimetres || 10LL * pixels < millimetres)
      throw InvalidGraphic("implausible reference device");
  }
  bool ended = false;
  for (uint64_t at = 0; at + 8 <= total && !ended;) {
    const uint32_t type = Get32(p + at), size = Get32(p + at + 4);
    if (size < 8 || size % 4 || at + size > total) throw InvalidGraphic("record out of bounds");
    ended = type == kEmrEof;
    at += size;
  }
  if (!ended) throw InvalidGraphic("enhanced metafile without end record");
  layout.bytes = total;
  // Corners are any 32-bit values: their differences need more than 32 bits.
  if (!checked::Sub(GetS32(p + 32), GetS32(p + 24), layout.frameWidth) ||
      !checked::Sub(GetS32(p + 36), GetS32(p + 28), layout.frameHeight))
    layout.frameWidth = layout.frameHeight = 0;
  layout.boundsWidth = 1LL + GetS32(p + 16) - GetS32(p + 8);
  layout.boundsHeight = 1LL + GetS32(p + 20) - GetS32(p + 12);
  return layout;
}

}  // namespace picture
