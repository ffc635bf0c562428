#include "picture/BlurredFill.h"

#include <algorithm>
#include <cmath>

#include "picture/Resample.h"

namespace picture {

namespace {

// The blur's width as a share of the area's width.
constexpr double kBlurShare = 0.03;
// The blur is made at a quarter of the area's size and enlarged: a blur
// this wide looks the same, for a sixteenth of the work.
constexpr int kWorkScale = 4;

// One box pass along a line of `count` pixels `step` apart, into line.
void BoxLine(uint32_t* line, int count, ptrdiff_t step, int radius, std::vector<uint32_t>& scratch) {
  scratch.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) scratch[i] = line[i * step];
  const uint32_t taps = 2u * static_cast<uint32_t>(radius) + 1;
  const uint32_t scale = (65536u + taps / 2) / taps;  // sum * scale >> 16 is the mean
  auto at = [&](int i) { return scratch[std::min(std::max(i, 0), count - 1)]; };
  for (int c = 0; c < 4; ++c) {
    const int shift = 8 * c;
    uint32_t sum = 0;
    for (int i = -radius; i <= radius; ++i) sum += (at(i) >> shift) & 0xFF;
    for (int i = 0; i < count; ++i) {
      uint32_t& out = line[i * step];
      const uint32_t mean = (sum * scale + 32768) >> 16;
      out = (out & ~(0xFFu << shift)) | std::min<uint32_t>(mean, 255) << shift;
      sum += ((at(i + radius + 1) >> shift) & 0xFF);
      sum -= ((at(i - radius) >> shift) & 0xFF);
    }
  }
}

void Darken(PixelImage& image) {
  for (uint32_t& p : image.pixels) {
    uint32_t out = 0;
    for (int c = 0; c < 24; c += 8) out |= ((((p >> c) & 0xFF) * kFillBrightness + 128) >> 8) << c;
    p = out;
  }
}

// Box radius whose three passes make a Gaussian of sigma.
int RadiusFor(double sigma) {
  const double width = std::sqrt(4 * sigma * sigma + 1);  // 12 sigma^2 / 3 passes + 1
  return std::max(1, static_cast<int>(std::lround((width - 1) / 2)));
}

}  // namespace

void BoxBlur(PixelImage& image, int radius) {
  if (image.Empty() || radius <= 0) return;
  std::vector<uint32_t> scratch;
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < image.height; ++y) BoxLine(image.Row(y), image.width, 1, radius, scratch);
    for (int x = 0; x < image.width; ++x) BoxLine(image.Row(0) + x, image.height, image.width, radius, scratch);
  }
}

PixelImage FillBars(const PixelImage& sharp, int areaW, int areaH) {
  return FillBars(sharp, areaW, areaH, (areaW - sharp.width) / 2, (areaH - sharp.height) / 2);
}

PixelImage FillBars(const PixelImage& sharp, int areaW, int areaH, int left, int top) {
  PixelImage fill(areaW, areaH);
  if (sharp.Empty() || areaW <= 0 || areaH <= 0) return fill;

  // The middle part of sharp that covers the area, scaled into the work size.
  const int workW = std::max(1, (areaW + kWorkScale - 1) / kWorkScale);
  const int workH = std::max(1, (areaH + kWorkScale - 1) / kWorkScale);
  const double cover = std::max(static_cast<double>(areaW) / sharp.width, static_cast<double>(areaH) / sharp.height);
  const double partW = areaW / cover, partH = areaH / cover;
  SampleMap toWork;
  toWork.originX = (sharp.width - partW) / 2;
  toWork.originY = (sharp.height - partH) / 2;
  toWork.stepX = partW / workW;
  toWork.stepY = partH / workH;
  PixelImage work(workW, workH);
  Resample(sharp, toWork, WholeOf(work));
  BoxBlur(work, RadiusFor(kBlurShare * workW));
  Darken(work);
  Resample(work, WholeMap(workW, workH, areaW, areaH), WholeOf(fill));

  // The sharp picture on top.
  const int fromX = std::max(0, -left), fromY = std::max(0, -top);
  const int toX = std::max(left, 0), toY = std::max(top, 0);
  const int w = std::min(sharp.width - fromX, areaW - toX), h = std::min(sharp.height - fromY, areaH - toY);
  for (int y = 0; y < h; ++y)
    std::copy_n(sharp.Row(fromY + y) + fromX, w, fill.Row(toY + y) + toX);
  return fill;
}

}  // namespace picture
