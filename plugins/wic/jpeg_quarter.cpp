#include "jpeg_quarter.h"

#include <algorithm>
#include <cmath>

#include "jpeg_frame.h"
#include "quarter_side.h"

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

// The four quarter averages (row-major 2 x 2) of a block from its
// coefficients, before the level shift.
void QuarterAverages(const Coefficient* coefficients, int count, const uint16_t* quant, float out[4]) {
  const QuarterWeights& w = Weights();
  const float dcValue = static_cast<float>(coefficients[0].value) * quant[0] * w.w[0][0] * w.w[0][0];
  out[0] = out[1] = out[2] = out[3] = dcValue;
  for (int i = 1; i < count; ++i) {
    const int k = coefficients[i].index;
    const int row = kZigzag[k] >> 3, col = kZigzag[k] & 7;
    if (w.w[0][row] == 0 || w.w[0][col] == 0) continue;
    const float c = static_cast<float>(coefficients[i].value) * quant[k];
    out[0] += c * w.w[0][row] * w.w[0][col];
    out[1] += c * w.w[0][row] * w.w[1][col];
    out[2] += c * w.w[1][row] * w.w[0][col];
    out[3] += c * w.w[1][row] * w.w[1][col];
  }
}

uint8_t ToSample(float v) {
  v += 128.5f;
  if (!(v > 0)) return 0;  // NaN too
  if (v >= 255) return 255;
  return static_cast<uint8_t>(v);
}

uint8_t Clamp(int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

}  // namespace

JpegQuarter::Result JpegQuarter::Decode(const JpegFrame& f, const uint8_t* scan, const uint8_t* end,
                                        const ProgressReport& report) {
  planes_.clear();
  width_ = height_ = 0;
  maxX_ = maxY_ = 1;

  for (const JpegComponent& c : f.components) {
    maxX_ = std::max(maxX_, c.factorX);
    maxY_ = std::max(maxY_, c.factorY);
  }
  const int mcusX = (f.width + 8 * maxX_ - 1) / (8 * maxX_);
  const int mcusY = (f.height + 8 * maxY_ - 1) / (8 * maxY_);
  uint64_t bytes = 0;
  for (const JpegComponent& c : f.components)
    bytes += static_cast<uint64_t>(mcusX) * c.factorX * 2 * mcusY * c.factorY * 2;
  if (bytes > maxPlaneBytes_) return Result::kNotHandled;
  int blocksPerMcu = 0;
  for (const JpegComponent& c : f.components) blocksPerMcu += c.factorX * c.factorY;
  if (blocksPerMcu > 10) return Result::kNotHandled;  // the format's own limit
  for (const JpegComponent& c : f.components) {
    Plane p;
    p.factorX = c.factorX, p.factorY = c.factorY;
    p.stride = mcusX * c.factorX * 2;
    p.samples.assign(static_cast<std::size_t>(p.stride) * mcusY * c.factorY * 2, 0);
    planes_.push_back(std::move(p));
  }

  ScanDecoder scanDecoder(scan, end, f.restartInterval);
  for (int my = 0; my < mcusY; ++my) {
    if (report && report(my, mcusY)) return Result::kStopped;
    for (int mx = 0; mx < mcusX; ++mx) {
      if (!scanDecoder.StartUnit()) return Result::kNotHandled;
      for (int which : f.scanOrder) {
        const JpegComponent& c = f.components[static_cast<std::size_t>(which)];
        Plane& p = planes_[static_cast<std::size_t>(which)];
        for (int by = 0; by < c.factorY; ++by) {
          for (int bx = 0; bx < c.factorX; ++bx) {
            Coefficient coefficients[64];
            const int count = scanDecoder.Block(which, f.dc[c.dcTable], f.ac[c.acTable], coefficients);
            if (count < 0) return Result::kNotHandled;
            float q[4];
            QuarterAverages(coefficients, count, f.quant[c.quant], q);
            const std::size_t x = static_cast<std::size_t>(mx * c.factorX + bx) * 2;
            const std::size_t y = static_cast<std::size_t>(my * c.factorY + by) * 2;
            uint8_t* s = &p.samples[y * p.stride + x];
            s[0] = ToSample(q[0]), s[1] = ToSample(q[1]);
            s[p.stride] = ToSample(q[2]), s[p.stride + 1] = ToSample(q[3]);
          }
        }
      }
      if (scanDecoder.Overrun()) return Result::kNotHandled;  // the data ended early
    }
  }
  width_ = static_cast<int>(QuarterSide(static_cast<unsigned>(f.width)));
  height_ = static_cast<int>(QuarterSide(static_cast<unsigned>(f.height)));
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
