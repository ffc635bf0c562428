#include "picture/Resample.h"

#include <algorithm>
#include <cmath>

#include "picture/ResampleKernels.h"

namespace picture {

namespace kernels {

namespace {
uint32_t MixPixels(uint32_t a, uint32_t b, uint32_t wa) {
  uint32_t pixel = 0;
  for (int c = 0; c < 32; c += 8)
    pixel |= ((((a >> c) & 0xFF) * wa + ((b >> c) & 0xFF) * (kSubPixel - wa) + 64) >> 7) << c;
  return pixel;
}
}  // namespace

void MixRowsPlain(const uint32_t* a, const uint32_t* b, int count, int f, uint32_t* mixed) {
  for (int i = 0; i < count; ++i) mixed[i] = MixPixels(a[i], b[i], static_cast<uint32_t>(kSubPixel - f));
}

void MixColumnsPlain(const uint32_t* mixed, const int* offset, const uint64_t* weights, int count,
                     uint32_t* out) {
  for (int x = 0; x < count; ++x) {
    const uint32_t* a = mixed + offset[x];
    out[x] = MixPixels(a[0], a[1], static_cast<uint32_t>(weights[x] & 0xFFFF));
  }
}

}  // namespace kernels

namespace {

// A sample point along one axis: the source pixel to its left (above) and
// how far past that pixel's centre it lies, in 1/128 pixel.
struct Tap {
  int index;
  int fraction;
};

Tap TapAt(double origin, double step, int i, int sourceSize) {
  double s = origin + (i + 0.5) * step - 0.5;
  s = std::min(std::max(s, 0.0), static_cast<double>(sourceSize - 1));
  const long long q = static_cast<long long>(std::floor(s * kSubPixel + 0.5));
  return {static_cast<int>(q / kSubPixel), static_cast<int>(q % kSubPixel)};
}

}  // namespace

bool HasSse2() {
#if defined(__i386__) || defined(__x86_64__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("sse2");
#else
  return false;
#endif
}

SampleMap WholeMap(int sourceW, int sourceH, int targetW, int targetH) {
  SampleMap map;
  map.stepX = static_cast<double>(sourceW) / targetW;
  map.stepY = static_cast<double>(sourceH) / targetH;
  return map;
}

SampleMap MapOf(const SourceRect& part, int targetW, int targetH) {
  SampleMap map;
  map.originX = part.x;
  map.originY = part.y;
  map.stepX = part.w / targetW;
  map.stepY = part.h / targetH;
  return map;
}

void Resample(const PixelImage& source, const SampleMap& map, const PixelRect& target, ResampleKernel kernel) {
  if (source.Empty() || target.width <= 0 || target.height <= 0) return;
  const bool sse2 = kernel != ResampleKernel::Plain && HasSse2();

  // The columns every row shares: where each target pixel reads the mixed row.
  std::vector<int> offset(static_cast<size_t>(target.width));
  std::vector<uint64_t> weights(static_cast<size_t>(target.width));
  int first = source.width, last = 0;
  for (int x = 0; x < target.width; ++x) {
    const Tap t = TapAt(map.originX, map.stepX, x, source.width);
    offset[x] = t.index;
    weights[x] = static_cast<uint64_t>(kSubPixel - t.fraction) * 0x0001000100010001ull;
    first = std::min(first, t.index);
    last = std::max(last, t.index);
  }
  for (int& o : offset) o -= first;
  // Mixed source columns from first to the right-hand neighbour of last,
  // and one more: the neighbour of the source's last column is itself (its
  // weight is then 0).
  const int span = std::min(last + 1, source.width - 1) - first + 1;
  std::vector<uint32_t> mixed(static_cast<size_t>(span) + 1);

  for (int y = 0; y < target.height; ++y) {
    const Tap t = TapAt(map.originY, map.stepY, y, source.height);
    const uint32_t* a = source.Row(t.index) + first;
    const uint32_t* b = source.Row(std::min(t.index + 1, source.height - 1)) + first;
    if (sse2) {
      kernels::MixRowsSse2(a, b, span, t.fraction, mixed.data());
    } else {
      kernels::MixRowsPlain(a, b, span, t.fraction, mixed.data());
    }
    mixed[span] = mixed[span - 1];
    uint32_t* out = target.pixels + static_cast<ptrdiff_t>(y) * target.stride;
    if (sse2) {
      kernels::MixColumnsSse2(mixed.data(), offset.data(), weights.data(), target.width, out);
    } else {
      kernels::MixColumnsPlain(mixed.data(), offset.data(), weights.data(), target.width, out);
    }
  }
}

}  // namespace picture
