// Fitting: the size a picture shows at, and the area-averaging reduction
// checked against an independent floating-point reference, against Pillow's
// box filter on real photos, and with sizes near the 32-bit limits.
#include <windows.h>
#include <gtest/gtest.h>

#include <random>

#include "LoaderTestSupport.h"
#include "picture/Decode.h"
#include "picture/Fit.h"

using namespace loader_test;
using picture::FittedSize;

namespace {

void ExpectSize(SIZE picture, SIZE area, int w, int h) {
  const SIZE s = FittedSize(picture, area);
  EXPECT_EQ(s.cx, w) << picture.cx << "x" << picture.cy << " in " << area.cx << "x" << area.cy;
  EXPECT_EQ(s.cy, h) << picture.cx << "x" << picture.cy << " in " << area.cx << "x" << area.cy;
}

Image Random(int w, int h, unsigned seed) {
  std::mt19937 gen(seed);
  Image image;
  image.width = w;
  image.height = h;
  for (int i = 0; i < w * h; ++i) image.pixels.push_back(gen() & 0xFFFFFF);
  return image;
}

Image Reduced(const Image& source, int w, int h) {
  picture::AreaReducer reducer(source.width, source.height, w, h);
  for (int y = 0; y < source.height; ++y) reducer.AddRow(&source.pixels[static_cast<size_t>(y) * source.width]);
  Image out;
  out.width = w;
  out.height = h;
  out.pixels = reducer.Result();
  return out;
}

}  // namespace

TEST(FittedSize, SmallerPicturesKeepTheirSizeLargerOnesFitWithTheirAspect) {
  ExpectSize({800, 600}, {1024, 768}, 800, 600);
  ExpectSize({1024, 768}, {1024, 768}, 1024, 768);
  ExpectSize({1800, 1200}, {1024, 768}, 1024, 683);  // 682.67
  ExpectSize({1200, 1800}, {1024, 768}, 512, 768);
  ExpectSize({2048, 700}, {1024, 768}, 1024, 350);   // wider only
  ExpectSize({600, 1000}, {1024, 768}, 461, 768);    // taller only: 460.8
  ExpectSize({4000, 3000}, {152, 112}, 149, 112);    // the preview's client area
  ExpectSize({32767, 1}, {1024, 768}, 1024, 1);      // never a side of 0
  ExpectSize({1, 32767}, {1024, 768}, 1, 768);
}

TEST(FittedSize, LargeSidesDoNotOverflowThirtyTwoBits) {
  // 32767 * 65535 and 16384 * 65536 overflow a 32-bit int when multiplied
  // as such; this program is 32-bit.
  ExpectSize({32767, 32767}, {65535, 2}, 2, 2);
  ExpectSize({32767, 16384}, {65535, 65535}, 32767, 16384);
  ExpectSize({65536, 49152}, {65535, 65535}, 65535, 49151);
  ExpectSize({12000, 9000}, {1024, 768}, 1024, 768);
  ExpectSize({16384, 16384}, {1920, 1080}, 1080, 1080);
}

TEST(AreaReducer, MatchesTheFloatingPointMeanOfTheCoveredArea) {
  struct Case { int sw, sh, w, h; };
  const Case cases[] = {{40, 30, 10, 10}, {37, 23, 10, 7}, {1000, 3, 7, 1},
                        {5, 5, 1, 1},     {97, 61, 96, 60}, {300, 200, 300, 199}};
  for (const Case& c : cases) {
    const Image source = Random(c.sw, c.sh, c.sw * 131 + c.h);
    const Image ours = Reduced(source, c.w, c.h);
    const Image reference = BoxReference(source, c.w, c.h);
    SCOPED_TRACE(testing::Message() << c.sw << "x" << c.sh << " -> " << c.w << "x" << c.h);
    EXPECT_LE(MaxDifference(ours, reference), 1);  // rounding of an exact .5 only
    EXPECT_LT(MeanDifference(ours, reference), 0.01);
  }
}

TEST(AreaReducer, KeepsAnEvenColourExactlyAndAveragesATwoColourCheckerToGrey) {
  Image source;
  source.width = 64;
  source.height = 48;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) source.pixels.push_back((x + y) % 2 ? 0xFFFFFF : 0x000000);
  const Image grey = Reduced(source, 16, 12);  // 4 x 4 blocks: 8 white, 8 black
  for (uint32_t p : grey.pixels) EXPECT_EQ(p, 0x808080u);  // 127.5 rounds up
  Image even;
  even.width = 333;
  even.height = 7;
  even.pixels.assign(333 * 7, 0x3C7A11);
  for (uint32_t p : Reduced(even, 100, 3).pixels) EXPECT_EQ(p, 0x3C7A11u);
}

TEST(AreaReducer, SumsOfTheWidestPictureStayExact) {
  // 32767 white pixels into one: the largest sums of any row and area.
  Image wide;
  wide.width = 32767;
  wide.height = 2;
  wide.pixels.assign(32767 * 2, 0xFFFFFF);
  EXPECT_EQ(Reduced(wide, 1, 1).pixels[0], 0xFFFFFFu);
  EXPECT_EQ(Reduced(wide, 1023, 1).pixels[1022], 0xFFFFFFu);
}

// Real photos through the real decoders, fitted to 1024 x 768 and compared
// with Pillow's box-filter reduction of the same file turned upright; an
// 8-bit paletted bitmap is reduced in true colour, not by palette index.
TEST(FitPicture, RealPhotosMatchPillowsBoxReduction) {
  struct File { const char* name; const char* ext; };
  for (const File& f : {File{"Landscape_2", ".jpg"}, File{"Landscape_5", ".jpg"}, File{"Portrait_4", ".jpg"},
                        File{"testorig", ".jpg"}, File{"shira_bird8", ".bmp"}, File{"paletted8", ".bmp"}}) {
    const std::string name = f.name;
    SCOPED_TRACE(name);
    picture::DecodeOutcome decoded = picture::DecodeFile(Files() + name + f.ext, false, nullptr);
    ASSERT_EQ(decoded.error, 0) << decoded.message;
    const Image full = Pixels(decoded.picture);
    picture::LoadedPicture fitted = picture::FitPicture(std::move(decoded.picture), {1024, 768}, nullptr);
    const Image ours = Pixels(fitted);
    const Image pillow = ReadPpm(Files() + name + "_fit.ppm");
    ASSERT_EQ(ours.width, pillow.width);
    ASSERT_EQ(ours.height, pillow.height);
    // Two JPEG decoders differ by a little; the reduction itself must not.
    EXPECT_LT(MeanDifference(ours, pillow), 2.0);
    if (full.width > 1024 || full.height > 768) {
      EXPECT_LE(MaxDifference(ours, BoxReference(full, ours.width, ours.height)), 1);
    }
  }
}

TEST(FitPicture, SmallPicturesAreHandedBackUntouchedAndACancelledFitGivesNothing) {
  picture::DecodeOutcome small = picture::DecodeFile(Files() + "testorig.jpg", false, nullptr);
  ASSERT_EQ(small.error, 0);
  const HBITMAP own = small.picture.bitmap.get();
  picture::LoadedPicture kept = picture::FitPicture(std::move(small.picture), {1024, 768}, nullptr);
  EXPECT_EQ(kept.bitmap.get(), own);
  EXPECT_EQ(kept.width, 227);

  picture::DecodeOutcome large = picture::DecodeFile(Files() + "Landscape_2.jpg", false, nullptr);
  ASSERT_EQ(large.error, 0);
  picture::LoadedPicture none =
      picture::FitPicture(std::move(large.picture), {1024, 768}, [] { return true; });
  EXPECT_FALSE(none.bitmap);
}

TEST(Crop, ABackgroundPictureKeepsOnlyItsTopLeftPartOnTheWorker) {
  picture::DecodeOutcome decoded = picture::DecodeFile(Files() + "Landscape_2.jpg", false, nullptr);
  ASSERT_EQ(decoded.error, 0);
  const Image whole = Pixels(decoded.picture);
  const picture::LoadedPicture part = picture::CropPicture(std::move(decoded.picture), {640, 3000});
  ASSERT_EQ(part.width, 640);
  ASSERT_EQ(part.height, whole.height) << "a side that fits stays whole";
  const Image cropped = Pixels(part);
  for (int y = 0; y < part.height; y += 37)
    for (int x = 0; x < part.width; x += 29)
      ASSERT_EQ(cropped.pixels[y * 640 + x], whole.pixels[y * whole.width + x]) << x << "," << y;
  // A picture that fits keeps its own size.
  picture::DecodeOutcome small = picture::DecodeFile(Files() + "testorig.jpg", false, nullptr);
  const int w = small.picture.width;
  EXPECT_EQ(picture::CropPicture(std::move(small.picture), {4000, 4000}).width, w);
}
