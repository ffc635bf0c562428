// Pictures staged on the loader's worker for a theme with BlurFill and
// PanZoom, from the real camera photos: the portrait comes back the
// monitor's size, its own pixels in the middle as a plain fitted load
// shows them and dark, smooth bars of itself beside them; a moving picture
// brings a copy 1.15 times larger (a small one its own size) to move in.
#include <windows.h>
#include <gtest/gtest.h>

#include <cmath>

#include "LoaderTestSupport.h"
#include "picture/Loader.h"

using namespace loader_test;

namespace {

picture::LoadResult Staged(const char* file, bool fill, double zoom) {
  picture::LoadRequest r;
  r.fileName = Files() + file;
  r.fitTo = r.area = {1024, 768};
  r.fillBars = fill;
  r.motionZoom = zoom;
  return picture::LoadPictureFile(r, nullptr, nullptr);
}

double Brightness(uint32_t p) { return (Channel(p, 0) + Channel(p, 8) + Channel(p, 16)) / 3.0; }

// The mean brightness of columns [left, right) of image.
double MeanOf(const Image& image, int left, int right) {
  double sum = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = left; x < right; ++x) sum += Brightness(image.At(x, y));
  return sum / (static_cast<double>(right - left) * image.height);
}

Image Part(const Image& image, int left, int width) {
  Image part;
  part.width = width;
  part.height = image.height;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < width; ++x) part.pixels.push_back(image.At(left + x, y));
  return part;
}

}  // namespace

TEST(Staging, APortraitFillsTheMonitorWithDarkBlurredBarsOfItself) {
  for (double zoom : {1.0, 1.15}) {
    SCOPED_TRACE(zoom);
    picture::LoadResult plain = Staged("Portrait_4.jpg", false, 1);
    picture::LoadResult filled = Staged("Portrait_4.jpg", true, zoom);
    ASSERT_EQ(filled.error, 0) << filled.message;
    ASSERT_EQ(plain.picture.width, 512);
    ASSERT_EQ(filled.picture.width, 1024);
    ASSERT_EQ(filled.picture.height, 768);
    const Image shown = Pixels(filled.picture);
    EXPECT_LT(MeanDifference(Part(shown, 256, 512), Pixels(plain.picture)), zoom > 1 ? 2.5 : 0.01);
    // The bars show the photo's middle rows enlarged twice: about 60 % as
    // bright as the photo, and without any edge between neighbours.
    const double photo = MeanOf(Pixels(plain.picture), 0, 512);
    for (int left : {0, 768}) {
      const double bar = MeanOf(shown, left, left + 256);
      EXPECT_GT(bar, 0.4 * photo);
      EXPECT_LT(bar, 0.8 * photo);
      int steepest = 0;
      for (int y = 1; y < 768; ++y)
        for (int x = left + 1; x < left + 256; ++x)
          steepest = std::max({steepest, std::abs(Channel(shown.At(x, y), 8) - Channel(shown.At(x - 1, y), 8)),
                               std::abs(Channel(shown.At(x, y), 8) - Channel(shown.At(x, y - 1), 8))});
      EXPECT_LE(steepest, 8);
    }
    if (zoom > 1) {
      EXPECT_EQ(filled.motion.width, 1178);  // 1024 x 589 / 512: the portrait 1.15 times 512
      EXPECT_NEAR(filled.motion.height, 884, 1);
    } else {
      EXPECT_TRUE(filled.motion.Empty());
    }
  }
}

TEST(Staging, MovingPicturesBringACopyAsLargeAsTheirLargestFrame) {
  picture::LoadResult plain = Staged("Landscape_2.jpg", false, 1);
  picture::LoadResult moving = Staged("Landscape_2.jpg", false, 1.15);
  ASSERT_EQ(moving.error, 0) << moving.message;
  EXPECT_EQ(moving.picture.width, 1024);
  EXPECT_EQ(moving.picture.height, 683);
  EXPECT_EQ(moving.motion.width, 1178);
  EXPECT_EQ(moving.motion.height, 785);
  EXPECT_LT(MeanDifference(Pixels(moving.picture), Pixels(plain.picture)), 2.5);
  // A picture smaller than the monitor moves in its own pixels; filled, in
  // the monitor-sized picture.
  picture::LoadResult small = Staged("testorig.jpg", false, 1.15);
  ASSERT_EQ(small.error, 0) << small.message;
  EXPECT_EQ(small.motion.width, small.picture.width);
  EXPECT_EQ(small.motion.height, small.picture.height);
  picture::LoadResult smallFilled = Staged("testorig.jpg", true, 1.15);
  EXPECT_EQ(smallFilled.picture.width, 1024);
  EXPECT_EQ(smallFilled.motion.width, 1024);
  EXPECT_EQ(smallFilled.motion.height, 768);
}
