// The resampler against a straightforward floating-point model of bilinear
// sampling: the SSE2 and the plain kernels give the same pixels, equal to
// the model at the positions rounded to 1/128 pixel (rounding after each
// of the two mixes, as the resampler does) and within three levels of the
// exact bilinear value at the exact positions; a shift by a quarter pixel moves an edge by
// a quarter pixel. Built for 32-bit Windows and as a 64-bit host program.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include "picture/Resample.h"

using picture::PixelImage;
using picture::ResampleKernel;
using picture::SampleMap;

namespace {

PixelImage Noise(int w, int h, unsigned seed) {
  PixelImage image(w, h);
  std::mt19937 random(seed);
  for (uint32_t& p : image.pixels) p = random();
  return image;
}

// Bilinear sampling in doubles: rows mixed, then columns. `quantized`
// rounds each position to 1/128 and each mix to a whole level.
PixelImage Model(const PixelImage& source, const SampleMap& map, int w, int h, bool quantized) {
  auto place = [&](double origin, double step, int i, int size) {
    double s = std::min(std::max(origin + (i + 0.5) * step - 0.5, 0.0), size - 1.0);
    if (quantized) s = std::floor(s * 128 + 0.5) / 128;
    return s;
  };
  PixelImage out(w, h);
  for (int y = 0; y < h; ++y) {
    const double sy = place(map.originY, map.stepY, y, source.height);
    const int y0 = static_cast<int>(sy), y1 = std::min(y0 + 1, source.height - 1);
    const double fy = sy - y0;
    for (int x = 0; x < w; ++x) {
      const double sx = place(map.originX, map.stepX, x, source.width);
      const int x0 = static_cast<int>(sx), x1 = std::min(x0 + 1, source.width - 1);
      const double fx = sx - x0;
      uint32_t pixel = 0;
      for (int c = 0; c < 32; c += 8) {
        auto at = [&](int px, int py) { return static_cast<double>((source.Row(py)[px] >> c) & 0xFF); };
        auto level = [&](double v) { return quantized ? std::floor(v + 0.5) : v; };
        const double left = level(at(x0, y0) * (1 - fy) + at(x0, y1) * fy);
        const double right = level(at(x1, y0) * (1 - fy) + at(x1, y1) * fy);
        pixel |= static_cast<uint32_t>(std::floor(left * (1 - fx) + right * fx + 0.5)) << c;
      }
      out.Row(y)[x] = pixel;
    }
  }
  return out;
}

PixelImage Resampled(const PixelImage& source, const SampleMap& map, int w, int h, ResampleKernel kernel) {
  PixelImage out(w, h);
  picture::Resample(source, map, picture::WholeOf(out), kernel);
  return out;
}

int MaxChannelDifference(const PixelImage& a, const PixelImage& b) {
  int worst = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i)
    for (int c = 0; c < 32; c += 8)
      worst = std::max(worst, std::abs(static_cast<int>((a.pixels[i] >> c) & 0xFF) -
                                       static_cast<int>((b.pixels[i] >> c) & 0xFF)));
  return worst;
}

struct Case {
  const char* what;
  int sourceW, sourceH, targetW, targetH;
  SampleMap map;
};

}  // namespace

TEST(Resample, BothKernelsMatchTheModelEnlargingReducingAndPastTheEdges) {
  const Case cases[] = {
      {"same size, a third of a pixel over", 37, 23, 37, 23, {0.33, -0.21, 1, 1}},
      {"zoomed 1.15 about a point", 64, 40, 55, 35, {3.7, 2.2, 1 / 1.15, 1 / 1.15}},
      {"enlarged four times", 9, 7, 36, 28, {0, 0, 0.25, 0.25}},
      {"reduced to 0.4", 101, 67, 40, 27, {0, 0, 101 / 40.0, 67 / 27.0}},
      {"beyond every edge", 16, 12, 40, 30, {-9.5, -7.25, 0.85, 0.85}},
      {"one pixel wide and one high", 1, 1, 5, 3, {0, 0, 0.2, 0.3}},
      {"odd widths for the two-pixel loop", 13, 5, 7, 5, {0.5, 0.5, 1.5, 0.75}},
  };
  ASSERT_TRUE(picture::HasSse2());  // every x86 processor this runs on here
  unsigned seed = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PixelImage source = Noise(c.sourceW, c.sourceH, seed++);
    const PixelImage plain = Resampled(source, c.map, c.targetW, c.targetH, ResampleKernel::Plain);
    const PixelImage sse2 = Resampled(source, c.map, c.targetW, c.targetH, ResampleKernel::Sse2);
    EXPECT_EQ(plain.pixels, sse2.pixels);
    EXPECT_EQ(plain.pixels, Model(source, c.map, c.targetW, c.targetH, true).pixels);
    EXPECT_LE(MaxChannelDifference(plain, Model(source, c.map, c.targetW, c.targetH, false)), 3);
  }
}

// An edge from black to white read back as the brightness-weighted place
// where it crosses half-way: a move of a quarter pixel moves it a quarter.
TEST(Resample, AQuarterPixelShiftMovesAnEdgeByAQuarterPixel) {
  PixelImage edge(64, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 64; ++x) edge.Row(y)[x] = x < 32 ? 0 : 0x00FFFFFF;
  auto crossing = [&](double originX) {
    const PixelImage out = Resampled(edge, {originX, 0, 1, 1}, 64, 4, ResampleKernel::Automatic);
    double white = 0;  // the edge lies where the white begins: the count of whole-white widths
    for (int x = 0; x < 64; ++x) white += (out.Row(1)[x] & 0xFF) / 255.0;
    return 64 - white;
  };
  for (double shift : {0.25, 0.5, 0.75, 1.25})
    EXPECT_NEAR(crossing(0) - crossing(shift), shift, 0.01) << shift;
}
