#include "jpeg_frame.h"

#include <cstring>

namespace wic {

namespace {

uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }

bool ReadQuant(const uint8_t* p, std::size_t n, JpegFrame& f) {
  while (n > 0) {
    const int precision = p[0] >> 4, id = p[0] & 15;
    const std::size_t bytes = precision ? 129 : 65;
    if (precision > 1 || id > 3 || n < bytes) return false;
    for (int k = 0; k < 64; ++k) f.quant[id][k] = precision ? Be16(p + 1 + 2 * k) : p[1 + k];
    f.quantDefined[id] = true;
    p += bytes, n -= bytes;
  }
  return true;
}

bool ReadHuffman(const uint8_t* p, std::size_t n, JpegFrame& f) {
  while (n > 0) {
    if (n < 17) return false;
    const int kind = p[0] >> 4, id = p[0] & 15;
    int count = 0;
    for (int i = 0; i < 16; ++i) count += p[1 + i];
    if (kind > 1 || id > 3 || count > 256 || n < 17u + count) return false;
    if (!(kind ? f.ac[id] : f.dc[id]).Build(p + 1, p + 17, count)) return false;
    p += 17 + count, n -= 17 + count;
  }
  return true;
}

bool ReadFrame(const uint8_t* p, std::size_t n, JpegFrame& f) {
  if (f.seen || n < 6 || p[0] != 8) return false;  // 8-bit samples only
  f.height = Be16(p + 1), f.width = Be16(p + 3);
  const int count = p[5];
  if (f.width == 0 || f.height == 0 || (count != 1 && count != 3) || n < 6u + 3 * count) return false;
  for (int i = 0; i < count; ++i) {
    JpegComponent c;
    c.id = p[6 + 3 * i];
    c.factorX = p[7 + 3 * i] >> 4, c.factorY = p[7 + 3 * i] & 15;
    c.quant = p[8 + 3 * i];
    if (c.factorX < 1 || c.factorX > 4 || c.factorY < 1 || c.factorY > 4 || c.quant > 3) return false;
    if (count == 1) c.factorX = c.factorY = 1;  // one component: a block per unit, whatever it says
    f.components.push_back(c);
  }
  // Components named R, G, B hold RGB, not YCbCr.
  if (count == 3 && f.components[0].id == 'R' && f.components[1].id == 'G' && f.components[2].id == 'B')
    return false;
  f.seen = true;
  return true;
}

bool ReadScan(const uint8_t* p, std::size_t n, JpegFrame& f) {
  if (!f.seen || n < 1) return false;
  const int count = p[0];
  if (count != static_cast<int>(f.components.size()) || n < 4u + 2 * count) return false;
  f.scanOrder.clear();
  for (int i = 0; i < count; ++i) {
    int which = -1;
    for (std::size_t c = 0; c < f.components.size(); ++c)
      if (f.components[c].id == p[1 + 2 * i]) which = static_cast<int>(c);
    for (int taken : f.scanOrder)
      if (taken == which) which = -1;
    if (which < 0) return false;
    JpegComponent& c = f.components[static_cast<std::size_t>(which)];
    c.dcTable = p[2 + 2 * i] >> 4, c.acTable = p[2 + 2 * i] & 15;
    if (c.dcTable > 3 || c.acTable > 3 || !f.dc[c.dcTable].defined || !f.ac[c.acTable].defined ||
        !f.quantDefined[c.quant])
      return false;
    f.scanOrder.push_back(which);
  }
  const uint8_t* s = p + 1 + 2 * count;
  return s[0] == 0 && s[1] == 63 && s[2] == 0;  // sequential: every coefficient, no approximation
}

// One marker segment's body; false ends the reading as not handled.
bool ReadSegment(uint8_t marker, const uint8_t* body, std::size_t n, JpegFrame& f) {
  switch (marker) {
    case 0xC0:
    case 0xC1: return ReadFrame(body, n, f);
    case 0xC4: return ReadHuffman(body, n, f);
    case 0xDB: return ReadQuant(body, n, f);
    case 0xDA: return ReadScan(body, n, f);
    case 0xDD:
      if (n < 2) return false;
      f.restartInterval = Be16(body);
      return true;
    case 0xEE:
      if (n >= 12 && std::memcmp(body, "Adobe", 5) == 0) f.adobeTransform = body[11];
      return true;
    default:
      // Other frame kinds: progressive, lossless, hierarchical, arithmetic.
      return !IsFrameMarker(marker);
  }
}

}  // namespace

void JpegFrameReader::Take(const JpegSegment& s) {
  if (refused_ || scan_ != nullptr) return;
  if (!ReadSegment(s.marker, s.body, s.size, frame_)) {
    refused_ = true;
  } else if (s.marker == 0xDA) {
    scan_ = s.body + s.size;
  }
}

bool JpegFrameReader::Decodable() const {
  return !refused_ && scan_ != nullptr &&
         !(frame_.components.size() == 3 && frame_.adobeTransform == 0);  // Adobe's RGB
}

}  // namespace wic
