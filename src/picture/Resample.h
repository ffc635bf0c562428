// Sub-pixel resampling: each target pixel is the bilinear mix of the four
// source pixels around the point it maps to, so a picture moved or scaled
// by a fraction of a pixel changes by that fraction, never in whole steps.
//
// Positions and scales are doubles; the per-pixel work is in fixed point:
// each sample point is rounded to 1/128 of a pixel, two source rows are
// mixed first, then two columns of the result, each mix in 16 bits and
// rounded to 8. The SSE2 kernel and the plain one do exactly this
// arithmetic and give the same pixels.
#pragma once
#include "picture/PixelImage.h"

namespace picture {

// Where target pixel (x, y) samples the source: its centre maps to the
// source point (originX + (x + 0.5) * stepX, originY + (y + 0.5) * stepY),
// in source pixels whose centres lie at i + 0.5. Points beyond the source
// take its edge pixels.
struct SampleMap {
  double originX = 0, originY = 0;
  double stepX = 1, stepY = 1;
};

// A part of a source, in its pixels (edges between pixels at whole numbers).
struct SourceRect {
  double x = 0, y = 0, w = 0, h = 0;
};

// The map that shows part on the whole of a target of targetW x targetH.
SampleMap MapOf(const SourceRect& part, int targetW, int targetH);

// The map that shows the whole of a source of sourceW x sourceH on a target of targetW x targetH.
SampleMap WholeMap(int sourceW, int sourceH, int targetW, int targetH);

enum class ResampleKernel { Automatic, Plain, Sse2 };

// Fills target from source through map. Automatic takes SSE2 where the
// processor has it; Sse2 on a processor without it falls back to Plain.
void Resample(const PixelImage& source, const SampleMap& map, const PixelRect& target,
              ResampleKernel kernel = ResampleKernel::Automatic);

// Whether this processor runs the SSE2 kernel.
bool HasSse2();

// The fixed-point unit of the sample positions and weights.
constexpr int kSubPixel = 128;

}  // namespace picture
