// PictureMotion on real GDI bitmaps: the first frame goes into the picture
// before it appears, frames reach the screen at most once a refresh, a
// pause holds the frame and the move goes on from where it stopped, and
// the erase gets the last frame.
#include <windows.h>
#include <gtest/gtest.h>

#include "saver/PictureMotion.h"

using saver::PictureMotion;

namespace {

constexpr int kW = 64, kH = 48;

// A horizontal ramp, so every move shows in the pixels.
picture::PixelImage Ramp(int w, int h) {
  picture::PixelImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.Row(y)[x] = static_cast<uint32_t>((x * 255 / (w - 1)) * 0x010101 + y);
  return image;
}

std::vector<uint32_t> PixelsOf(HDC dc, int left, int top) {
  std::vector<uint32_t> out;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) out.push_back(GetPixel(dc, left + x, top + y));
  return out;
}

struct Stage {
  Stage() : surfaces(400, 400, [](int) { return 0; }) {
    surfaces.Back.Create(100, 80);
    surfaces.Back.Fill(RGB(255, 0, 0));
    surfaces.BuildFromBack({100, 80});
    picture.Create(kW, kH);
  }
  saver::Surfaces surfaces;
  forms::Bitmap picture;
};

}  // namespace

TEST(PictureMotion, FirstFrameInThePictureThenOneFrameARefreshAndAPauseHoldsIt) {
  Stage stage;
  PictureMotion motion;
  const RECT placed = {10, 20, 10 + kW, 20 + kH};
  // random(2) == 0: zooming in from the whole copy toward its corner.
  motion.Prepare(Ramp(74, 55), {0, 0, 74, 55}, placed, {100, 80}, 1000, [](int) { return 0; }, stage.picture.Dc());
  ASSERT_TRUE(motion.Active());
  const std::vector<uint32_t> first = PixelsOf(stage.picture.Dc(), 0, 0);
  EXPECT_NE(first, std::vector<uint32_t>(first.size(), first[0]));

  motion.Run(1000.0, 50);  // 20 ms a frame
  motion.DrawDue(1010.0, stage.surfaces);  // within the first frame's period: nothing new
  EXPECT_EQ(motion.FramesDrawn(), 0);
  const std::vector<uint32_t> background(kW * kH, RGB(255, 0, 0));
  EXPECT_EQ(PixelsOf(stage.surfaces.Screen.Dc(), 10, 20), background);
  motion.DrawDue(1500.0, stage.surfaces);
  motion.DrawDue(1505.0, stage.surfaces);
  EXPECT_EQ(motion.FramesDrawn(), 1);
  const std::vector<uint32_t> half = PixelsOf(stage.surfaces.Screen.Dc(), 10, 20);
  EXPECT_NE(half, first);
  EXPECT_EQ(GetPixel(stage.surfaces.Screen.Dc(), 5, 5), RGB(255, 0, 0));  // nothing beside the picture

  // Paused at 500 ms for ten seconds: nothing drawn; on again, the move
  // goes on from 500 ms, so 200 ms later it shows the 700 ms frame.
  motion.Freeze(1500.0);
  motion.DrawDue(6000.0, stage.surfaces);
  EXPECT_EQ(motion.FramesDrawn(), 1);
  motion.Resume(11500.0);
  motion.DrawDue(11700.0, stage.surfaces);
  const std::vector<uint32_t> resumed = PixelsOf(stage.surfaces.Screen.Dc(), 10, 20);

  PictureMotion again;
  Stage other;
  again.Prepare(Ramp(74, 55), {0, 0, 74, 55}, placed, {100, 80}, 1000, [](int) { return 0; }, other.picture.Dc());
  again.Run(0.0, 50);
  again.DrawDue(700.0, other.surfaces);
  EXPECT_EQ(resumed, PixelsOf(other.surfaces.Screen.Dc(), 10, 20));

  // The erase starts from the last frame.
  motion.Settle(stage.picture.Dc());
  EXPECT_FALSE(motion.Active());
  EXPECT_EQ(PixelsOf(stage.picture.Dc(), 0, 0), resumed);
}
