// The show keys on the sequencer, tick by tick: steps back through at least
// fifty pictures and forward again, quick presses that add up, the title
// skipped, and the pause keeping the rest of the stand time. The screen,
// the music and the resume place: test_show_keys.py; → held down:
// scripts/bench-keys.
#include <gtest/gtest.h>

#include "FakeHost.h"

using namespace saver_test;
using Numbers = std::vector<int>;

namespace {

saver::SaverSettings TenPictures() {
  saver::SaverSettings s = QuickTheme();
  s.ImageCount = 10;
  s.ImageOnDelay = 3000;
  return s;
}

void ToStanding(Rig& rig) {
  if (rig.State() != S::ImageStands) rig.RunUntil(S::ImageStands);
}

}  // namespace

TEST(ShowKeys, BackGoesThroughTheLast64PicturesAndForwardComesBackToTheSourcesOrder) {
  Rig rig(TenPictures());
  ToStanding(rig);
  for (int k = 0; k < 70; ++k) {
    rig.seq->StepForward();
    EXPECT_EQ(rig.host.screen.back(), "cleared");  // no erase, no off delay
    ToStanding(rig);
  }
  // Three presses before the first step's picture has loaded go back three.
  rig.host.loadTicks = 5;
  rig.seq->StepBack();
  rig.Tick();
  rig.seq->StepBack();
  rig.seq->StepBack();
  ToStanding(rig);
  EXPECT_EQ(ImageNumbers(rig.host.loaded).back(), 7);  // picture 70 was img0
  rig.host.loadTicks = 0;
  size_t steps = 3;
  for (rig.seq->StepBack(); rig.State() == S::NextImage; rig.seq->StepBack(), ++steps) ToStanding(rig);
  EXPECT_EQ(steps, saver::ShowHistory::kKept - 1);  // then the oldest kept: nothing happens
  EXPECT_EQ(rig.host.waves.back(), "wave7.wav");     // each with its own sound
  const size_t shown = rig.host.loaded.size();
  for (int k = 0; k < 66; ++k) {
    rig.seq->StepForward();
    ToStanding(rig);
  }
  // Through the history to img0, then img1 that was picked ahead, and on.
  const Numbers all = ImageNumbers(rig.host.loaded);
  EXPECT_EQ(Numbers(all.begin() + shown + 61, all.end()), (Numbers{9, 0, 1, 2, 3}));
  EXPECT_EQ(rig.pictures->ResumeNumber(), 4);  // going back never moved it
}

TEST(ShowKeys, ForwardSkipsTheTitleAndTheFirstDelay) {
  saver::SaverSettings s = TenPictures();
  s.Title.Title = true;
  s.Title.Text[0] = "a";
  s.Title.OnDelay = 5000;
  s.FirstDelay = 60000;
  Rig rig(s);
  rig.RunUntil(S::FirstLineStands);
  const int ends = rig.host.titleEnds;
  rig.seq->StepForward();
  EXPECT_EQ(rig.host.titleEnds, ends + 1);
  rig.Tick();
  ASSERT_EQ(rig.State(), S::FirstDelay);
  rig.seq->StepForward();
  const DWORD pressed = rig.now;
  ToStanding(rig);
  EXPECT_LT(rig.now - pressed, 500u);
}

TEST(ShowKeys, PauseKeepsTheRestOfTheStandTimeAndPlaysNoWave) {
  Rig rig(TenPictures());
  ToStanding(rig);
  rig.Tick();
  rig.now += 1000;  // one second of three stood
  rig.seq->SetPaused(true);
  EXPECT_EQ(rig.host.screen.back(), "paused");
  for (int k = 0; k < 2000; ++k) rig.Tick();
  rig.seq->StepForward();  // a step while paused: the new picture, silent, holds
  ToStanding(rig);
  for (int k = 0; k < 2000; ++k) rig.Tick();
  EXPECT_EQ(rig.State(), S::ImageStands);
  EXPECT_EQ(rig.host.waves, (std::vector<std::string>{"wave0.wav"}));
  rig.seq->SetPaused(false);
  DWORD from = rig.now;
  rig.RunUntil(S::Erase);
  EXPECT_NEAR(static_cast<int>(rig.now - from), 3000, 10);  // its whole time
  ToStanding(rig);
  rig.Tick();
  rig.now += 1000;
  rig.seq->SetPaused(true);
  rig.now += 60000;
  rig.Tick();
  rig.seq->SetPaused(false);
  from = rig.now;
  rig.RunUntil(S::Erase);
  EXPECT_NEAR(static_cast<int>(rig.now - from), 2000, 10);  // the rest of it
}
