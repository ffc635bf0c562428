// The mask strip, the masked mix and the Mesh and Fade effects.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "Model.h"

using namespace fxtest;

namespace {

int SetBits(HDC strip, int band, int k) {
  int n = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) n += GetPixel(strip, 8 * k + x, band + y) == RGB(255, 255, 255);
  return n;
}

Steps MaskModel(int band, bool in, const RECT& img) {
  Steps steps;
  for (int k = 0; k <= 16; ++k)
    steps.push_back([=](Model& m) {
      m.Mix(band, k, in, img);
      m.Flush(img);
    });
  steps.push_back([](Model&) {});  // the closing step draws nothing
  return steps;
}

struct MaskCase {
  Routine routine;
  int band;
  bool in;
  const char* name;
};
const MaskCase kMaskCases[] = {
    {saver::MeshOn, 8, true, "MeshOn"},
    {saver::MeshOff, 8, false, "MeshOff"},
    {saver::FadeOn, 0, true, "FadeOn"},
    {saver::FadeOff, 0, false, "FadeOff"},
};

}  // namespace

TEST(MaskStrip, IsOneBitAndHoldsTheTwoBandsOfSeventeenMasks) {
  HBITMAP strip = saver::CreateMaskStrip();
  BITMAP bm{};
  ASSERT_TRUE(GetObject(strip, sizeof bm, &bm));
  EXPECT_EQ(bm.bmWidth, 136);
  EXPECT_EQ(bm.bmHeight, 16);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, strip);
  const int mesh[17] = {0, 1, 2, 4, 6, 9, 13, 16, 20, 25, 31, 36, 42, 49, 55, 63, 64};
  for (int k = 0; k <= 16; ++k) {
    EXPECT_EQ(SetBits(dc, 0, k), 4 * k) << "Fade mask " << k;
    EXPECT_EQ(SetBits(dc, 8, k), mesh[k]) << "Mesh mask " << k;
    for (int band : {0, 8})
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
          const bool set = GetPixel(dc, 8 * k + x, band + y) == RGB(255, 255, 255);
          ASSERT_EQ(set, Model::Threshold(band, x, y) <= k) << band << " " << k << " " << x << "," << y;
          if (k > 0 && GetPixel(dc, 8 * (k - 1) + x, band + y) == RGB(255, 255, 255)) {
            ASSERT_TRUE(set) << "mask " << k << " must contain mask " << k - 1;
          }
        }
  }
  // The Mesh cell fills from its bottom-left corner to its top-right corner.
  EXPECT_EQ(GetPixel(dc, 8 * 1 + 0, 8 + 7), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 8 * 15 + 7, 8 + 0), RGB(0, 0, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(strip);
}

TEST(MaskStrip, FadeIsAnOrderedDitherAndMeshGrowsFromTheBottomLeftCorner) {
  using saver::MaskBand;
  std::vector<int> fade;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) fade.push_back(saver::MaskThreshold(MaskBand::Fade, x, y));
  std::sort(fade.begin(), fade.end());
  for (int i = 0; i < 16; ++i) EXPECT_EQ(fade[i], i + 1) << "one more pixel of each 4 x 4 block per mask";
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const int t = saver::MaskThreshold(MaskBand::Mesh, x, y);
      EXPECT_GE(t, 1);
      EXPECT_LE(t, 16);
      if (x > 0) EXPECT_GE(t, saver::MaskThreshold(MaskBand::Mesh, x - 1, y)) << x << "," << y;
      if (y < 7) EXPECT_GE(t, saver::MaskThreshold(MaskBand::Mesh, x, y + 1)) << x << "," << y;
    }
  EXPECT_EQ(saver::MaskThreshold(MaskBand::Mesh, 0, 7), 1);
  EXPECT_EQ(saver::MaskThreshold(MaskBand::Mesh, 7, 0), 16);
}

TEST(MaskedEffects, EveryStepShowsTheMaskedPictureAndBackground) {
  // An odd-sized picture off the window's 8-pixel grid, both coins (the masks ignore them).
  // Also a picture larger than the window, clipped on every side.
  const Geometry placements[] = {{40, 30, 19, 13, 3, 5}, {40, 30, 50, 36, -5, -3}};
  for (const auto& mc : kMaskCases)
    for (const Geometry& g : placements)
      for (int coin : {0, 1}) {
        EffectRig rig(g, coin);
        if (!mc.in) rig.ShowImage();
        rig.ctx.AppearSpeed = rig.ctx.EraseSpeed = 405 - 5;
        const RECT img{g.X, g.Y, g.X + g.W, g.Y + g.H};
        EXPECT_TRUE(RunEffect(rig, mc.routine, MaskModel(mc.band, mc.in, img), 30))
            << mc.name << " at " << g.X << "," << g.Y << " coin " << coin;
      }
}

TEST(MaskedEffects, FirstStepShowsBackgroundAndSeventeenthThePicture) {
  for (const auto& mc : kMaskCases) {
    EffectRig rig({32, 24, 16, 16, 8, 4}, 0);
    if (!mc.in) rig.ShowImage();
    rig.Run(mc.routine);  // set-up
    auto showsOnly = [&](bool picture) {
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
          const uint32_t want = picture ? ImagePixel(x, y) : BackPixel(8 + x, 4 + y);
          if (rig.window->Get(8 + x, 4 + y) != want) return false;
        }
      return true;
    };
    rig.Run(mc.routine);
    EXPECT_TRUE(showsOnly(!mc.in)) << mc.name << " step 1";
    for (int step = 2; step <= 17; ++step) rig.Run(mc.routine);
    EXPECT_TRUE(showsOnly(mc.in)) << mc.name << " step 17";
    EXPECT_EQ(rig.show, saver::ShowState::Appear) << mc.name;
    rig.Run(mc.routine);
    EXPECT_EQ(rig.show, saver::ShowState::PlaySound) << mc.name << " ends on the 18th step";
  }
}

TEST(MaskedEffects, MeshCellsLieOnTheWindowGridNotOnThePicture) {
  // Picture at X = 3: cell boundaries at window columns 8, 16 (picture columns 5, 13).
  EffectRig rig({40, 24, 24, 16, 3, 0}, 0);
  rig.Run(saver::MeshOn);
  rig.Run(saver::MeshOn);  // mask 0
  rig.Run(saver::MeshOn);  // mask 1: only the bottom-left pixel of every cell
  for (int y = 0; y < 16; ++y)
    for (int x = 3; x < 27; ++x) {
      const bool picture = x % 8 == 0 && y % 8 == 7;
      ASSERT_EQ(rig.window->Get(x, y), picture ? ImagePixel(x - 3, y) : BackPixel(x, y)) << x << "," << y;
    }
  EXPECT_EQ(rig.window->Get(8, 7), ImagePixel(5, 7));
  EXPECT_EQ(rig.window->Get(16, 15), ImagePixel(13, 15));
}

TEST(MaskedEffects, OnAPaletteEveryPixelIsThePicturesOrTheBackgrounds) {
  // 8-bit DIB sections sharing a 256-colour table: AND and OR act on whole indices.
  for (const auto& mc : kMaskCases) {
    EffectRig rig({40, 30, 21, 14, 6, 9}, 1, 8);
    if (!mc.in) rig.ShowImage();
    EXPECT_TRUE(RunEffect(rig, mc.routine, MaskModel(mc.band, mc.in, RECT{6, 9, 27, 23}), 30)) << mc.name;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x)
        ASSERT_EQ(rig.window->Get(x, y), mc.in && x >= 6 && x < 27 && y >= 9 && y < 23
                                               ? ImageIndex(x - 6, y - 9) : BackIndex(x, y));
  }
}

TEST(MaskedMix, TitleFadeMixesAnySourceIntoItsRectangle) {
  // The title uses the mix with its own picture as the source and its own rectangle.
  EffectRig rig({32, 16, 8, 8, 0, 0}, 0);
  fxtest::Dib title(12, 6, 32);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 12; ++x) title.Set(x, y, 0x123456);
  const RECT target{10, 5, 22, 11};
  for (int k : {0, 7, 16}) {
    rig.flushes.clear();
    saver::MaskedMix(rig.ctx, saver::MaskBand::Fade, k, saver::MixDirection::In, title.dc(), target);
    ASSERT_EQ(rig.flushes.size(), 1u);
    EXPECT_TRUE(EqualRect(&rig.flushes[0], &target));
    int titlePixels = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 32; ++x) {
        const bool inside = x >= 10 && x < 22 && y >= 5 && y < 11;
        const bool set = inside && Model::Threshold(0, x, y) <= k;
        ASSERT_EQ(rig.window->Get(x, y), set ? 0x123456u : BackPixel(x, y));
        titlePixels += set;
      }
    if (k == 16) {
      EXPECT_EQ(titlePixels, 72);
    }
  }
}
