#include "jpeg_quarter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace wic {

namespace {

constexpr uint8_t kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                 12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// The average of basis function t of the inverse transform over the first
// (q = 0) or second (q = 1) half of the block's eight samples, with the
// transform's C(t) and its factor 1/2 per direction. Zero for even t > 0.
struct QuarterWeights {
  float w[2][8];
  QuarterWeights() {
    const double pi = 3.14159265358979323846;
    for (int t = 0; t < 8; ++t) {
      double a = 0;
      for (int x = 0; x < 4; ++x) a += std::cos((2 * x + 1) * t * pi / 16);
      a = a / 4 * 0.5 * (t == 0 ? std::sqrt(0.5) : 1.0);
      if (std::fabs(a) < 1e-9) a = 0;
      w[0][t] = static_cast<float>(a);
      w[1][t] = static_cast<float>(t % 2 ? -a : a);
    }
  }
};

const QuarterWeights& Weights() {
  static const QuarterWeights weights;
  return weights;
}

struct Huffman {
  bool defined = false;
  int total = 0;
  int32_t maxCode[17] = {};    // largest code of each length; -1 when none
  int32_t valueOffset[17] = {};
  uint8_t values[256] = {};
  uint16_t fast[512] = {};     // by the next 9 bits: (length << 8) | value; 0 for longer codes

  bool Build(const uint8_t* counts, const uint8_t* symbols, int count) {
    std::memset(fast, 0, sizeof fast);
    std::memcpy(values, symbols, static_cast<std::size_t>(count));
    total = count;
    int32_t code = 0;
    int k = 0;
    for (int len = 1; len <= 16; ++len) {
      valueOffset[len] = k - code;
      for (int i = 0; i < counts[len - 1]; ++i, ++code, ++k) {
        if (code >= (1 << len)) return false;  // more codes than the length holds
        if (len <= 9) {
          const int shift = 9 - len;
          for (int f = code << shift; f < (code + 1) << shift; ++f)
            fast[f] = static_cast<uint16_t>(len << 8 | symbols[k]);
        }
      }
      maxCode[len] = counts[len - 1] ? code - 1 : -1;
      code <<= 1;
    }
    defined = true;
    return true;
  }
};

// The entropy-coded bytes: stuffed zeros dropped, zeros fed once a marker
// or the end is reached (and counted, so that a scan running past its data
// is noticed).
class Bits {
 public:
  Bits(const uint8_t* p, const uint8_t* end) : p_(p), end_(end) {}

  uint32_t Peek(int n) {
    Fill();
    return buf_ >> (32 - n);
  }
  void Skip(int n) {
    buf_ <<= n;
    count_ -= n;
  }
  uint32_t Get(int n) {
    const uint32_t v = Peek(n);
    Skip(n);
    return v;
  }
  // More bits taken than the scan holds.
  bool Overrun() const { return zeros_ * 8 > count_; }

  // At a restart marker: drop what is left of the byte, then expect RSTn.
  bool Restart() {
    buf_ = 0, count_ = 0, zeros_ = 0, atMarker_ = false;
    while (p_ < end_ && *p_ != 0xFF) ++p_;
    while (p_ < end_ && *p_ == 0xFF) ++p_;
    if (p_ >= end_ || *p_ < 0xD0 || *p_ > 0xD7) return false;
    ++p_;
    return true;
  }

 private:
  void Fill() {
    while (count_ <= 24) {
      uint32_t byte = 0;
      if (!atMarker_ && p_ < end_ && !(*p_ == 0xFF && (p_ + 1 >= end_ || p_[1] != 0))) {
        byte = *p_;
        p_ += byte == 0xFF ? 2 : 1;
      } else {
        atMarker_ = true;
        ++zeros_;
      }
      buf_ |= byte << (24 - count_);
      count_ += 8;
    }
  }

  const uint8_t* p_;
  const uint8_t* end_;
  uint32_t buf_ = 0;
  int count_ = 0;
  int zeros_ = 0;
  bool atMarker_ = false;
};

int DecodeSymbol(Bits& bits, const Huffman& h) {
  const uint16_t f = h.fast[bits.Peek(9)];
  if (f) {
    bits.Skip(f >> 8);
    return f & 0xFF;
  }
  for (int len = 10; len <= 16; ++len) {
    const int32_t code = static_cast<int32_t>(bits.Peek(len));
    if (code <= h.maxCode[len]) {
      const int32_t i = code + h.valueOffset[len];
      if (i < 0 || i >= h.total) return -1;
      bits.Skip(len);
      return h.values[i];
    }
  }
  return -1;
}

int Extend(uint32_t v, int s) {
  return v < (1u << (s - 1)) ? static_cast<int>(v) - (1 << s) + 1 : static_cast<int>(v);
}

struct Component {
  int id = 0;
  int factorX = 1, factorY = 1;
  int quant = 0;
  int dcTable = 0, acTable = 0;
  int predictor = 0;
};

struct Frame {
  bool seen = false;
  int width = 0, height = 0;
  std::vector<Component> components;
  uint16_t quant[4][64] = {};
  bool quantDefined[4] = {};
  Huffman dc[4], ac[4];
  int restartInterval = 0;
  int adobeTransform = -1;
  std::vector<int> scanOrder;  // frame component of each scan component
};

uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }

bool ReadQuant(const uint8_t* p, std::size_t n, Frame& f) {
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

bool ReadHuffman(const uint8_t* p, std::size_t n, Frame& f) {
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

bool ReadFrame(const uint8_t* p, std::size_t n, Frame& f) {
  if (f.seen || n < 6 || p[0] != 8) return false;  // 8-bit samples only
  f.height = Be16(p + 1), f.width = Be16(p + 3);
  const int count = p[5];
  if (f.width == 0 || f.height == 0 || (count != 1 && count != 3) || n < 6u + 3 * count) return false;
  for (int i = 0; i < count; ++i) {
    Component c;
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

bool ReadScan(const uint8_t* p, std::size_t n, Frame& f) {
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
    Component& c = f.components[static_cast<std::size_t>(which)];
    c.dcTable = p[2 + 2 * i] >> 4, c.acTable = p[2 + 2 * i] & 15;
    if (c.dcTable > 3 || c.acTable > 3 || !f.dc[c.dcTable].defined || !f.ac[c.acTable].defined ||
        !f.quantDefined[c.quant])
      return false;
    f.scanOrder.push_back(which);
  }
  const uint8_t* s = p + 1 + 2 * count;
  return s[0] == 0 && s[1] == 63 && s[2] == 0;  // sequential: every coefficient, no approximation
}

// Decodes one block and adds its four quarter averages to out (row-major 2 x 2).
bool DecodeBlock(Bits& bits, const Huffman& dc, const Huffman& ac, const uint16_t* quant, int& predictor,
                 float out[4]) {
  const QuarterWeights& w = Weights();
  const int s = DecodeSymbol(bits, dc);
  if (s < 0 || s > 11) return false;
  if (s) predictor += Extend(bits.Get(s), s);
  const float dcValue = static_cast<float>(predictor) * quant[0] * w.w[0][0] * w.w[0][0];
  out[0] = out[1] = out[2] = out[3] = dcValue;
  for (int k = 1; k < 64;) {
    const int rs = DecodeSymbol(bits, ac);
    if (rs < 0) return false;
    const int run = rs >> 4, size = rs & 15;
    if (size == 0) {
      if (run != 15) break;  // end of block
      k += 16;
      continue;
    }
    k += run;
    if (k > 63 || size > 10) return false;
    const int n = kZigzag[k];
    const int row = n >> 3, col = n & 7;
    const int v = Extend(bits.Get(size), size);
    if (w.w[0][row] != 0 && w.w[0][col] != 0) {
      const float c = static_cast<float>(v) * quant[k];
      out[0] += c * w.w[0][row] * w.w[0][col];
      out[1] += c * w.w[0][row] * w.w[1][col];
      out[2] += c * w.w[1][row] * w.w[0][col];
      out[3] += c * w.w[1][row] * w.w[1][col];
    }
    ++k;
  }
  return true;
}

uint8_t ToSample(float v) {
  v += 128.5f;
  if (!(v > 0)) return 0;  // NaN too
  if (v >= 255) return 255;
  return static_cast<uint8_t>(v);
}

uint8_t Clamp(int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

}  // namespace

JpegQuarter::Result JpegQuarter::Decode(const uint8_t* data, std::size_t size, const StopCheck& stop) {
  planes_.clear();
  width_ = height_ = 0;
  maxX_ = maxY_ = 1;
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return Result::kNotHandled;
  Frame f;
  std::size_t at = 2;
  for (;;) {  // the markers up to the scan
    while (at < size && data[at] != 0xFF) ++at;
    while (at < size && data[at] == 0xFF) ++at;
    if (at + 2 >= size) return Result::kNotHandled;
    const uint8_t marker = data[at++];
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;
    if (marker == 0xD9) return Result::kNotHandled;  // the end before any scan
    const std::size_t length = Be16(data + at);
    if (length < 2 || length > size - at) return Result::kNotHandled;
    const uint8_t* body = data + at + 2;
    const std::size_t n = length - 2;
    at += length;
    bool ok = true;
    switch (marker) {
      case 0xC0:
      case 0xC1: ok = ReadFrame(body, n, f); break;
      case 0xC4: ok = ReadHuffman(body, n, f); break;
      case 0xDB: ok = ReadQuant(body, n, f); break;
      case 0xDD:
        ok = n >= 2;
        if (ok) f.restartInterval = Be16(body);
        break;
      case 0xEE:
        if (n >= 12 && std::memcmp(body, "Adobe", 5) == 0) f.adobeTransform = body[11];
        break;
      case 0xDA: ok = ReadScan(body, n, f); break;
      default:
        // Other frame kinds: progressive, lossless, hierarchical, arithmetic.
        if (marker >= 0xC2 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
          return Result::kNotHandled;
    }
    if (!ok) return Result::kNotHandled;
    if (marker == 0xDA) break;
  }
  if (f.components.size() == 3 && f.adobeTransform == 0) return Result::kNotHandled;  // RGB

  for (const Component& c : f.components) {
    maxX_ = std::max(maxX_, c.factorX);
    maxY_ = std::max(maxY_, c.factorY);
  }
  const int mcusX = (f.width + 8 * maxX_ - 1) / (8 * maxX_);
  const int mcusY = (f.height + 8 * maxY_ - 1) / (8 * maxY_);
  uint64_t bytes = 0;
  for (const Component& c : f.components)
    bytes += static_cast<uint64_t>(mcusX) * c.factorX * 2 * mcusY * c.factorY * 2;
  if (bytes > maxPlaneBytes_) return Result::kNotHandled;
  int blocksPerMcu = 0;
  for (const Component& c : f.components) blocksPerMcu += c.factorX * c.factorY;
  if (blocksPerMcu > 10) return Result::kNotHandled;  // the format's own limit
  for (const Component& c : f.components) {
    Plane p;
    p.factorX = c.factorX, p.factorY = c.factorY;
    p.stride = mcusX * c.factorX * 2;
    p.samples.assign(static_cast<std::size_t>(p.stride) * mcusY * c.factorY * 2, 0);
    planes_.push_back(std::move(p));
  }

  Bits bits(data + at, data + size);
  int untilRestart = f.restartInterval;
  for (int my = 0; my < mcusY; ++my) {
    if (stop && stop(my, mcusY)) return Result::kStopped;
    for (int mx = 0; mx < mcusX; ++mx) {
      if (f.restartInterval && untilRestart == 0) {
        if (!bits.Restart()) return Result::kNotHandled;
        for (Component& c : f.components) c.predictor = 0;
        untilRestart = f.restartInterval;
      }
      for (int which : f.scanOrder) {
        Component& c = f.components[static_cast<std::size_t>(which)];
        Plane& p = planes_[static_cast<std::size_t>(which)];
        for (int by = 0; by < c.factorY; ++by) {
          for (int bx = 0; bx < c.factorX; ++bx) {
            float q[4];
            if (!DecodeBlock(bits, f.dc[c.dcTable], f.ac[c.acTable], f.quant[c.quant], c.predictor, q))
              return Result::kNotHandled;
            const std::size_t x = static_cast<std::size_t>(mx * c.factorX + bx) * 2;
            const std::size_t y = static_cast<std::size_t>(my * c.factorY + by) * 2;
            uint8_t* s = &p.samples[y * p.stride + x];
            s[0] = ToSample(q[0]), s[1] = ToSample(q[1]);
            s[p.stride] = ToSample(q[2]), s[p.stride + 1] = ToSample(q[3]);
          }
        }
      }
      if (bits.Overrun()) return Result::kNotHandled;  // the data ended early
      --untilRestart;
    }
  }
  width_ = (f.width + 3) / 4;
  height_ = (f.height + 3) / 4;
  return Result::kDecoded;
}

uint8_t JpegQuarter::Sample(const Plane& p, int x, int y) const {
  const std::size_t sx = static_cast<std::size_t>(x) * p.factorX / maxX_;
  const std::size_t sy = static_cast<std::size_t>(y) * p.factorY / maxY_;
  return p.samples[sy * p.stride + sx];
}

void JpegQuarter::Row(int y, uint8_t* out) const {
  if (Gray()) {
    for (int x = 0; x < width_; ++x) out[x] = Sample(planes_[0], x, y);
    return;
  }
  for (int x = 0; x < width_; ++x, out += 3) {
    const int luma = Sample(planes_[0], x, y);
    const int cb = Sample(planes_[1], x, y) - 128, cr = Sample(planes_[2], x, y) - 128;
    out[0] = Clamp(luma + ((116130 * cb + 32768) >> 16));
    out[1] = Clamp(luma - ((22554 * cb + 46802 * cr - 32768) >> 16));
    out[2] = Clamp(luma + ((91881 * cr + 32768) >> 16));
  }
}

}  // namespace wic
