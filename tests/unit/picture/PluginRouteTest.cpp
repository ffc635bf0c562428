// Pictures that come through the stand-in plug-ins: sizes, call order,
// pixels the right way up, aspect correction and the 256-colour palette.
#include <gtest/gtest.h>

#include "PictureTestSupport.h"
#include "StandInPattern.h"
#include "picture/Display.h"

using namespace picture_test;

namespace {

// The stand-ins' pattern as the picture should show it.
Image Pattern(int width, int height, int bitCount, int colors = 0) {
  Image image;
  image.width = width;
  image.height = height;
  const int entries = colors ? colors : 1 << (bitCount <= 8 ? bitCount : 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.pixels.push_back(standin::PatternColor(bitCount, entries, x, y));
  return image;
}

int pretendedDepth = 8;
int PretendedDepth() { return pretendedDepth; }

class PluginRoute : public ::testing::Test {
 protected:
  void SetUp() override { StandIn(""); }
  void TearDown() override { picture::SetScreenDepthQuery(nullptr); }

  // Loads name with the stand-ins set to control; it must load, with the
  // plug-in calls in `calls`.
  static void LoadWithStandIn(TAll& p, const char* control, const char* name, const char* calls) {
    StandIn(control);
    p.SetPictureName(name);
    EXPECT_EQ(p.Error(), 0) << name;
    EXPECT_EQ(StandInLog(), calls) << name;
  }
};

}  // namespace

TEST_F(PluginRoute, JpegPreviewIsAQuarterRoundedUpWithTheFullSizeKept) {
  TAll_nmsg p;
  StandIn("w=1001 h=750");
  p.SetPreView(true);
  p.SetPictureName("photo.JPG");
  EXPECT_EQ(p.Error(), 0);
  EXPECT_EQ(p.Width(), 251);
  EXPECT_EQ(p.Height(), 188);
  EXPECT_EQ(p.OrgWidth(), 1001);
  EXPECT_EQ(p.OrgHeight(), 750);
  EXPECT_TRUE(p.PreView());
  EXPECT_EQ(StandInLog(), "ifjpeg.spi:info@0=0;ifjpeg.spi:preview@0=0;");
  EXPECT_EQ(FirstDifference(Shown(p), Pattern(251, 188, 24)), "");

  StandIn("w=64 h=48");
  p.SetPictureName("next.gif");
  EXPECT_EQ(p.Error(), 0);
  EXPECT_FALSE(p.PreView()) << "a GIF sets PreView back";
  EXPECT_EQ(p.OrgWidth(), 0);
  EXPECT_EQ(p.Width(), 64);
}

TEST_F(PluginRoute, JpegFullPictureAtTheOffsetWhereTheInformationWorked) {
  TAll_nmsg p;
  LoadWithStandIn(p, "w=40 h=30 info=2,0", "a.jpe",
                  "ifjpeg.spi:info@0=2;ifjpeg.spi:info@128=0;ifjpeg.spi:picture@128=0;");
  EXPECT_EQ(p.Width(), 40);
  EXPECT_EQ(p.OrgWidth(), 40);
  EXPECT_EQ(FirstDifference(Shown(p), Pattern(40, 30, 24)), "");
}

TEST_F(PluginRoute, WritingPreViewReloadsAndAFailureKeepsThePicture) {
  TAll_nmsg p;
  StandIn("w=40 h=30");
  p.SetPictureName("a.jpg");
  ASSERT_EQ(p.Width(), 40);
  p.SetPreView(true);
  EXPECT_EQ(p.Width(), 10);
  EXPECT_EQ(p.Height(), 8);
  StandIn("w=40 h=30 preview=3");
  p.SetPreView(true);
  EXPECT_EQ(p.Error(), 3);
  EXPECT_EQ(p.PictureName(), "");
  EXPECT_FALSE(p.Empty()) << "the previous picture stays on show";
  EXPECT_EQ(Shown(p).width, 10);
}

TEST_F(PluginRoute, GifAnswering2IsTriedAgainAt128) {
  TAll_nmsg p;
  LoadWithStandIn(p, "w=20 h=10 picture=2,0", "anim.gif", "ifgif.spi:picture@0=2;ifgif.spi:picture@128=0;");
  EXPECT_EQ(p.PictureName(), "anim.gif");

  StandIn("w=20 h=10 picture=2,3");
  p.SetPictureName("anim.gif");
  EXPECT_EQ(p.Error(), 3) << "the second call's code";
}

TEST_F(PluginRoute, EveryDepthAndLayoutComesOutTheSameWayUp) {
  const struct {
    const char* control;
    int bitCount, colors;
  } rows[] = {
      {"bpp=24", 24, 0},          {"bpp=24 topdown=1", 24, 0}, {"bpp=32", 32, 0},
      {"bpp=32 topdown=1", 32, 0}, {"bpp=8", 8, 0},             {"bpp=8 topdown=1", 8, 0},
      {"bpp=8 clrused=20", 8, 20}, {"bpp=4", 4, 0},             {"bpp=1 topdown=1", 1, 0},
      {"bpp=8 header=108", 8, 0},  {"bpp=24 header=124 topdown=1", 24, 0},
  };
  for (const auto& row : rows) {
    TAll_nmsg p;
    StandIn(std::string("w=23 h=13 ") + row.control);
    p.SetPictureName("x.tif");
    ASSERT_EQ(p.Error(), 0) << row.control;
    EXPECT_EQ(FirstDifference(Shown(p), Pattern(23, 13, row.bitCount, row.colors)), "") << row.control;
  }
}

TEST_F(PluginRoute, PicWithNonSquarePixelsIsStretched) {
  const struct {
    const char* control;
    int width, height;
  } rows[] = {
      {"w=640 h=400 xd=1 yd=2", 1280, 400}, {"w=640 h=400 xd=2 yd=1", 640, 800},
      {"w=640 h=400 xd=1 yd=1", 640, 400},  {"w=640 h=400 xd=3 yd=3", 640, 400},
      {"w=640 h=400 xd=2 yd=3", 960, 400},  {"w=640 h=400 xd=0 yd=2", 640, 400},
      {"w=640 h=400 xd=2 yd=0", 640, 400},  {"w=640 h=400 xd=1 yd=2 info=5", 640, 400},
      {"w=640 h=400 xd=65535 yd=1", 640, 400},  // would be absurdly tall: shown as decoded
  };
  for (const auto& row : rows) {
    for (const char* name : {"a.pic", "a.p2"}) {
      TAll_nmsg p;
      StandIn(row.control);
      p.SetPictureName(name);
      EXPECT_EQ(p.Error(), 0) << row.control;
      EXPECT_EQ(p.Width(), row.width) << name << " " << row.control;
      EXPECT_EQ(p.Height(), row.height) << name << " " << row.control;
    }
  }
  // The densities come from an information call at offset 0 after the picture.
  TAll_nmsg p;
  StandIn("w=8 h=4 xd=1 yd=2 picture=2,0");
  p.SetPictureName("a.pic");
  EXPECT_EQ(StandInLog(), "ifpic.spi:picture@0=2;ifpic.spi:picture@128=0;ifpic.spi:info@0=0;");
  const Image shown = Shown(p), decoded = Pattern(8, 4, 24);
  ASSERT_EQ(shown.width, 16);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(shown.At(x, y), decoded.At(x / 2, y)) << x << "," << y;
}

TEST_F(PluginRoute, OnA256ColourDisplayPalettedPicturesBringTheirPalette) {
  pretendedDepth = 8;
  picture::SetScreenDepthQuery(PretendedDepth);
  HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  const struct {
    const char* control;
    int entries;
  } rows[] = {{"bpp=8", 256}, {"bpp=8 clrused=20", 20}, {"bpp=4", 16}, {"bpp=1", 2}, {"bpp=24", 0},
              {"bpp=32", 0}};
  for (const auto& row : rows) {
    TAll_nmsg p;
    p.SetOwnerWindow(owner);
    StandIn(std::string("w=9 h=5 ") + row.control);
    p.SetPictureName("x.gif");
    ASSERT_EQ(p.Error(), 0);
    EXPECT_EQ(PaletteEntries(p.Palette()), row.entries) << row.control;
  }
  DestroyWindow(owner);

  pretendedDepth = 24;
  TAll_nmsg p;
  StandIn("w=9 h=5 bpp=8");
  p.SetPictureName("x.gif");
  EXPECT_EQ(p.Palette(), nullptr) << "no palette on a true-colour display";
}
