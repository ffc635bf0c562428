// The pan-and-zoom path: every view lies inside the copy it moves in, the
// move runs from the whole picture to a 1.15 zoom about the chosen point
// (or back), and a point tracked on a 1920 x 1080 frame at 60 frames a
// second moves by steps that change by less than 0.02 pixel from frame to
// frame, where frames cut at whole pixels would jump by about half a pixel.
#include <gtest/gtest.h>

#include <cmath>

#include "saver/MotionPath.h"

using saver::MotionPath;
using saver::MotionView;

namespace {

// Where a source point shows on a frame of frameW pixels, at time ms.
double ShownAt(const MotionPath& path, double sourceX, double ms, int frameW, bool wholePixels) {
  MotionView v = path.At(ms);
  if (wholePixels) v.x = std::floor(v.x), v.w = std::floor(v.w);
  return (sourceX - v.x) * frameW / v.w;
}

double WorstStepChange(const MotionPath& path, double sourceX, int frameW, bool wholePixels) {
  double worst = 0, lastStep = 0;
  const int frames = path.Duration() * 60 / 1000;
  for (int i = 1; i <= frames; ++i) {
    const double step = ShownAt(path, sourceX, i * 1000.0 / 60, frameW, wholePixels) -
                        ShownAt(path, sourceX, (i - 1) * 1000.0 / 60, frameW, wholePixels);
    if (i > 1) worst = std::max(worst, std::abs(step - lastStep));
    lastStep = step;
  }
  return worst;
}

}  // namespace

TEST(MotionPath, ZoomsFromTheWholePictureToTheChosenPointOrBackStayingInside) {
  for (bool in : {true, false}) {
    for (double point : {0.0, 0.3, 1.0}) {
      const MotionPath path({0, 0, 2208, 1242}, in, point, 1 - point, 5000);
      const MotionView start = path.At(0), end = path.At(5000);
      const MotionView whole = in ? start : end, part = in ? end : start;
      EXPECT_EQ(whole.x, 0);
      EXPECT_EQ(whole.w, 2208);
      EXPECT_NEAR(part.w, 2208 / 1.15, 1e-9);
      EXPECT_NEAR(part.h, 1242 / 1.15, 1e-9);
      for (double ms = -100; ms <= 5100; ms += 50) {
        const MotionView v = path.At(ms);
        EXPECT_GE(v.x, 0);
        EXPECT_GE(v.y, 0);
        EXPECT_LE(v.x + v.w, 2208 + 1e-9);
        EXPECT_LE(v.y + v.h, 1242 + 1e-9);
      }
      // Held at both ends: before the start and after the end nothing moves.
      EXPECT_EQ(path.At(-100).x, start.x);
      EXPECT_EQ(path.At(9999).w, end.w);
    }
  }
  // The part lies around its point, as near as the picture allows.
  const MotionView centred = MotionPath({0, 0, 1000, 1000}, true, 0.5, 0.45, 100).At(100);
  EXPECT_NEAR(centred.x + centred.w / 2, 500, 1e-9);
  EXPECT_NEAR(centred.y + centred.h / 2, 450, 1e-9);
}

TEST(MotionPath, ATrackedPointMovesInEvenSubPixelSteps) {
  for (bool in : {true, false}) {
    const MotionPath path({0, 0, 2208, 1242}, in, 0.8, 0.2, 3000);
    for (double sourceX : {100.0, 1104.0, 2100.0}) {
      EXPECT_LE(WorstStepChange(path, sourceX, 1920, false), 0.02) << sourceX;
      EXPECT_GE(WorstStepChange(path, sourceX, 1920, true), 0.3) << sourceX;
    }
  }
  // The frame at a given time is the same however late it is drawn.
  const MotionPath path({0, 0, 2208, 1242}, true, 0.8, 0.2, 3000);
  const picture::SampleMap late = path.MapAt(1234.5, 1920, 1080);
  EXPECT_DOUBLE_EQ(late.originX, path.At(1234.5).x);
  EXPECT_DOUBLE_EQ(late.stepX, path.At(1234.5).w / 1920);
}
