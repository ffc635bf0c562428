// The sequencer's pace: effects and title fades take the steps that the
// time since they began calls for, catching up on late ticks and never
// running ahead.
#include <gtest/gtest.h>

#include <memory>
#include <numeric>

#include "FakeHost.h"

using saver_test::QuickTheme;
using saver_test::Rig;

namespace {
constexpr saver::ShowState kAppear = saver::ShowState::Appear;

// A rig whose fake effect has `steps` steps at `interval` ms, run up to and
// through the effect's set-up tick.
std::unique_ptr<Rig> AtEffectSetUp(int steps, int interval) {
  auto rig = std::make_unique<Rig>(QuickTheme());
  rig->host.effectSteps = steps;
  rig->host.effectInterval = interval;
  rig->RunUntil(kAppear);
  rig->Tick();
  return rig;
}
}  // namespace

TEST(Pace, OnTimeTicksTakeOneStepEach) {
  auto r = AtEffectSetUp(10, 20);
  Rig& rig = *r;
  EXPECT_EQ(rig.host.interval, 20);
  while (rig.State() == kAppear) rig.Tick();
  EXPECT_EQ(rig.host.stepsPerTick, std::vector<int>(10, 1));
  EXPECT_EQ(rig.host.interval, saver::kIdleInterval);
}

TEST(Pace, ALateTickDrawsEveryStepItOwesAndAnEarlyOneNone) {
  auto r = AtEffectSetUp(10, 20);
  Rig& rig = *r;
  const DWORD begun = rig.now;
  rig.now = begun + 75;  // steps 1..3 due
  rig.seq->Tick();
  rig.now = begun + 79;  // still 3: an early tick takes nothing
  rig.seq->Tick();
  rig.now = begun + 80;  // step 4
  rig.seq->Tick();
  rig.now = begun + 1000;  // far behind: the rest, and the effect ends
  rig.seq->Tick();
  EXPECT_EQ(rig.host.stepsPerTick, (std::vector<int>{3, 1, 6}));
  EXPECT_EQ(rig.State(), saver::ShowState::PlaySound);
  EXPECT_EQ(rig.host.interval, saver::kIdleInterval);
}

TEST(Pace, ATimerSlowerThanTheStepIntervalKeepsTheNominalDuration) {
  // A 5 ms interval on a system whose timer ticks every 16 ms.
  auto r = AtEffectSetUp(100, 5);
  Rig& rig = *r;
  const DWORD begun = rig.now;
  while (rig.State() == kAppear) {
    rig.now += 16;
    rig.seq->Tick();
  }
  const int taken = std::accumulate(rig.host.stepsPerTick.begin(), rig.host.stepsPerTick.end(), 0);
  EXPECT_EQ(taken, 100);
  // 500 ms nominal; the last tick comes at most one timer period after it.
  EXPECT_GE(rig.now - begun, 500u);
  EXPECT_LT(rig.now - begun, 516u);
}

TEST(Pace, ALateTitleTickDrawsOnlyTheLastMaskItOwesAndNeverSkipsTheFullMask) {
  saver::SaverSettings s = QuickTheme();
  s.Title.Title = true;
  s.Title.FadeInterval = 10;
  Rig rig(s);
  rig.RunUntil(saver::ShowState::FirstLineIn);
  rig.Tick();  // the set-up tick of the first fade
  const DWORD begun = rig.now;
  rig.now = begun + 35;  // masks 0..2 due: only mask 2 is drawn
  rig.seq->Tick();
  ASSERT_EQ(rig.host.frames.size(), 1u);
  EXPECT_EQ(rig.host.frames.back().first, 2);
  rig.now = begun + 1000;  // masks 3..16 and the closing step
  rig.seq->Tick();
  ASSERT_EQ(rig.host.frames.size(), 2u);
  EXPECT_EQ(rig.host.frames.back().first, 16) << "the complete title is drawn before the fade ends";
  EXPECT_EQ(rig.host.titleEnds, 1);
  EXPECT_EQ(rig.State(), saver::ShowState::FirstLineStands);
}
