// The picture best suited to a target size: the stand-in plug-ins' quarter
// preview when it still covers the picture fitted to the target, the full
// picture otherwise or when the plug-in has no GetPreview.
#include <gtest/gtest.h>

#include <cstdlib>

#include "PictureTestSupport.h"
#include "picture/PluginRoute.h"

using namespace picture_test;
using picture::Decoder;
using picture::DecodeForSize;

namespace {

struct Case {
  const char* control;
  int targetWidth, targetHeight;
  bool preview;
  int width, height;  // of the picture handed back
};

class DecodeForSizeTest : public ::testing::Test {
 protected:
  void SetUp() override { StandIn(""); }
  HDC dc_ = GetDC(nullptr);
  void TearDown() override { ReleaseDC(nullptr, dc_); }
};

TEST_F(DecodeForSizeTest, JpegPreviewOnlyWhenTheQuarterStillCoversTheFittedSize) {
  const Case cases[] = {
      {"w=4096 h=3072", 1024, 768, true, 1024, 768},    // exactly four times
      {"w=4095 h=3072", 1024, 768, true, 1024, 768},    // the height limits the fit
      {"w=4095 h=3071", 1024, 768, false, 4095, 3071},  // the quarter would be too small
      {"w=1800 h=1200", 1024, 768, false, 1800, 1200},  // a camera photo
      {"w=12000 h=9000", 1024, 768, true, 3000, 2250},  // 108 megapixels
      {"w=9000 h=12000", 1024, 768, true, 2250, 3000},
      {"w=300 h=200", 1024, 768, false, 300, 200},      // smaller than the target
      {"w=400 h=4000", 1024, 768, true, 100, 1000},     // a tall strip
      {"w=800 h=600", 0, 0, false, 800, 600},           // no target: the full picture
      {"w=9000 h=9000", 50000, 50000, true, 2250, 2250},  // too large to hold in full
  };
  for (const Case& c : cases) {
    StandIn(c.control);
    const picture::PluginOutcome out = DecodeForSize(Decoder::Jpg, "photo.jpg", c.targetWidth,
                                                     c.targetHeight, dc_);
    ASSERT_EQ(out.error, 0) << c.control;
    EXPECT_EQ(out.preview, c.preview) << c.control;
    EXPECT_EQ(out.picture.width, c.width) << c.control;
    EXPECT_EQ(out.picture.height, c.height) << c.control;
    EXPECT_EQ(out.orgWidth, std::atoi(c.control + 2)) << c.control;
  }
  StandIn("w=4096 h=3072");
  DecodeForSize(Decoder::Jpg, "photo.jpg", 1024, 768, dc_);
  EXPECT_EQ(StandInLog(), "ifjpeg.spi:info@0=0;ifjpeg.spi:info@0=0;ifjpeg.spi:preview@0=0;");
}

TEST_F(DecodeForSizeTest, PreviewFailureIsReportedWithItsCode) {
  StandIn("w=4096 h=3072 preview=4");
  const picture::PluginOutcome out = DecodeForSize(Decoder::Jpg, "a.jpg", 640, 480, dc_);
  EXPECT_EQ(out.error, 4);
  EXPECT_FALSE(out.preview);
  EXPECT_EQ(out.message, "メモリーが確保出来ない");
}

TEST_F(DecodeForSizeTest, PluginsWithoutPreviewGiveTheFullPicture) {
  // Loaded by path first, these modules are what the bare names then find.
  HMODULE jpeg = LoadLibraryA("nopreview\\ifjpeg.spi");
  HMODULE pic2 = LoadLibraryA("nopreview\\ifpic2.spi");
  ASSERT_TRUE(jpeg && pic2);
  StandIn("w=2000 h=1600");
  picture::PluginOutcome out = DecodeForSize(Decoder::Jpg, "a.jpg", 100, 100, dc_);
  EXPECT_EQ(out.error, 0);
  EXPECT_FALSE(out.preview);
  EXPECT_EQ(out.picture.width, 2000);
  out = DecodeForSize(Decoder::Pic2, "a.p2", 100, 100, dc_);
  EXPECT_EQ(out.error, 0);
  EXPECT_FALSE(out.preview);
  EXPECT_EQ(out.picture.width, 2000);
  EXPECT_EQ(StandInLog(),
            "ifjpeg.spi:info@0=0;ifjpeg.spi:picture@0=0;"
            "ifpic2.spi:picture@0=0;ifpic2.spi:info@0=0;");
  FreeLibrary(pic2);
  FreeLibrary(jpeg);
}

TEST_F(DecodeForSizeTest, RetroPreviewKeepsItsAspectAndOtherRowsNeverAskForOne) {
  StandIn("w=2000 h=1600 xd=2 yd=1");
  picture::PluginOutcome out = DecodeForSize(Decoder::Pic2, "a.p2", 320, 200, dc_);
  EXPECT_EQ(out.error, 0);
  EXPECT_TRUE(out.preview);
  EXPECT_EQ(out.picture.width, 500);
  EXPECT_EQ(out.picture.height, 800);
  EXPECT_EQ(StandInLog(), "ifpic2.spi:info@0=0;ifpic2.spi:preview@0=0;ifpic2.spi:info@0=0;");

  StandIn("w=400 h=320");
  out = DecodeForSize(Decoder::Gif, "a.gif", 10, 10, dc_);
  EXPECT_EQ(out.error, 0);
  EXPECT_FALSE(out.preview);
  EXPECT_EQ(out.picture.width, 400);
  EXPECT_EQ(StandInLog(), "ifgif.spi:picture@0=0;");
}

}  // namespace
