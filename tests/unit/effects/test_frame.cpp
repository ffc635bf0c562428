// Dispatch, Normal and the step intervals.
#include <gtest/gtest.h>

#include "Model.h"

using namespace fxtest;

namespace {

Routine kOn[] = {saver::NormalOn, saver::BlindOn,   saver::ScrollOn,     saver::StretchOn,
                        saver::SlideOn,  saver::HalfSlideOn, saver::MeshOn,     saver::FadeOn};
Routine kOff[] = {saver::NormalOff, saver::BlindOff,    saver::ScrollOff, saver::StretchOff,
                         saver::SlideOff,  saver::HalfSlideOff, saver::MeshOff,  saver::FadeOff};

// The interval the set-up of a routine asks for, with the given base intervals.
int SetUpInterval(Routine routine, int appear, int erase) {
  EffectRig rig({16, 16, 4, 4, 2, 2}, 1);
  rig.ctx.AppearSpeed = 405 - appear;
  rig.ctx.EraseSpeed = 405 - erase;
  rig.Run(routine);
  return rig.intervals.empty() ? -1 : rig.intervals.front();
}

}  // namespace

TEST(Speed, BaseIntervalIs405MinusSpeedClampedToTheDialogsRange) {
  EXPECT_EQ(saver::BaseInterval(400), 5);
  EXPECT_EQ(saver::BaseInterval(0), 405);
  EXPECT_EQ(saver::BaseInterval(200), 205);
  EXPECT_EQ(saver::BaseInterval(401), 5);
  EXPECT_EQ(saver::BaseInterval(100000), 5);
  EXPECT_EQ(saver::BaseInterval(-1), 405);
  EXPECT_EQ(saver::BaseInterval(INT_MIN), 405);
}

TEST(Speed, EachKindAsksForItsIntervalAtBothEndsOfTheTrackBar) {
  const int fast = saver::BaseInterval(400), slow = saver::BaseInterval(0);
  // Appear: Blind, Scroll, Stretch, Slide, HalfSlide, Mesh, Fade.
  const int onFast[] = {5, 5, 7, 5, 5, 30, 30}, onSlow[] = {405, 405, 607, 405, 405, 1230, 1230};
  for (int k = 1; k < 8; ++k) {
    EXPECT_EQ(SetUpInterval(kOn[k], fast, slow), onFast[k - 1]) << "appear kind " << k;
    EXPECT_EQ(SetUpInterval(kOn[k], slow, fast), onSlow[k - 1]) << "appear kind " << k;
  }
  // Erase at appear speed 400 and erase speed 0: Blind and Scroll follow the appear speed.
  const int offMixed[] = {5, 5, 607, 405, 405, 1230, 1230};
  const int offReversed[] = {405, 405, 7, 5, 5, 30, 30};
  for (int k = 1; k < 8; ++k) {
    EXPECT_EQ(SetUpInterval(kOff[k], fast, slow), offMixed[k - 1]) << "erase kind " << k;
    EXPECT_EQ(SetUpInterval(kOff[k], slow, fast), offReversed[k - 1]) << "erase kind " << k;
  }
  // Hand-edited speeds outside 0..400 end up at the nearest end.
  EXPECT_EQ(SetUpInterval(saver::StretchOn, saver::BaseInterval(999), 5), 7);
  EXPECT_EQ(SetUpInterval(saver::MeshOff, 5, saver::BaseInterval(-50)), 1230);
}

TEST(Dispatch, EachKindRunsItsRoutineAndUnknownKindsRunBlind) {
  // Identify a routine by its set-up interval at appear 10 / erase 20 and by coin-dependent drawing.
  const int onWant[] = {-1, 10, 10, 15, 10, 10, 45, 45};
  const int offWant[] = {-1, 10, 10, 30, 20, 20, 75, 75};
  for (int k = 0; k < 8; ++k) {
    EffectRig a({16, 16, 4, 4, 2, 2}, 1), e({16, 16, 4, 4, 2, 2}, 1);
    a.ctx.AppearSpeed = e.ctx.AppearSpeed = 405 - 10;
    a.ctx.EraseSpeed = e.ctx.EraseSpeed = 405 - 20;
    a.Run(saver::AppearRoutine(k));
    e.Run(saver::EraseRoutine(k));
    EXPECT_EQ(a.intervals.empty() ? -1 : a.intervals[0], onWant[k]) << k;
    EXPECT_EQ(e.intervals.empty() ? -1 : e.intervals[0], offWant[k]) << k;
  }
  for (int k : {-1, 8, 255}) {
    EffectRig a({16, 16, 4, 1, 2, 2}, 1);
    a.ctx.AppearSpeed = 405 - 10;
    a.Run(saver::AppearRoutine(k));  // set-up
    a.Run(saver::AppearRoutine(k));  // Blind on one row: line 0
    EXPECT_EQ(a.window->Get(2, 2), ImagePixel(0, 0)) << k;
    EffectRig e({16, 16, 4, 1, 2, 2}, 0);
    e.ShowImage();
    e.ctx.AppearSpeed = 405 - 10;
    e.Run(saver::EraseRoutine(k));
    EXPECT_EQ(e.intervals, std::vector<int>{10}) << k;
  }
}

TEST(Normal, AppearsInOneCallAndLeavesTheTimerAlone) {
  for (Geometry g : {Geometry{40, 30, 17, 11, 11, 9}, Geometry{40, 30, 50, 36, -5, -3}}) {
    EffectRig rig(g, 0);
    Model m(rig);
    rig.Run(saver::NormalOn);
    m.DrawImage(g.X, g.Y);
    m.Flush(m.img);
    EXPECT_EQ(rig.show, saver::ShowState::PlaySound);
    EXPECT_TRUE(rig.entered);
    EXPECT_TRUE(rig.intervals.empty());
    ASSERT_EQ(rig.flushes.size(), 1u);
    EXPECT_TRUE(EqualRect(&rig.flushes[0], &m.img));
    for (int y = 0; y < g.CH; ++y)
      for (int x = 0; x < g.CW; ++x) {
        ASSERT_EQ(rig.screen->Get(x, y), m.screen[y * g.CW + x]);
        ASSERT_EQ(rig.window->Get(x, y), m.window[y * g.CW + x]);
      }
  }
}

TEST(Normal, ErasesInOneCallAndLeavesTheTimerAlone) {
  EffectRig rig({40, 30, 17, 11, 11, 9}, 1);
  rig.show = saver::ShowState::Erase;
  rig.ShowImage();
  rig.Run(saver::NormalOff);
  EXPECT_EQ(rig.show, saver::ShowState::ImageOff);
  EXPECT_TRUE(rig.entered);
  EXPECT_TRUE(rig.intervals.empty());
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      ASSERT_EQ(rig.screen->Get(x, y), BackPixel(x, y));
      ASSERT_EQ(rig.window->Get(x, y), BackPixel(x, y));
    }
}
