// The show keys on the sequencer: steps forward and back through the
// pictures shown, the title skipped, the pause, the caption's moments, and
// the resume place that going back never moves.
#include <gtest/gtest.h>

#include "FakeHost.h"

using saver_test::ImageNumbers;
using saver_test::QuickTheme;
using saver_test::Rig;
using S = saver::ShowState;
using Numbers = std::vector<int>;

namespace {

saver::SaverSettings TenPictures() {
  saver::SaverSettings s = QuickTheme();
  s.ImageCount = 10;
  s.ImageOnDelay = 3000;
  return s;
}

// The numbers of the pictures that appeared, in order.
Numbers Shown(const Rig& rig) { return ImageNumbers(rig.host.loaded); }

void ToStanding(Rig& rig) {
  if (rig.State() != S::ImageStands) rig.RunUntil(S::ImageStands);
}

}  // namespace

TEST(ShowKeys, ForwardAndBackStepThroughThePicturesShownAndTheResumePlaceOnlyMovesForward) {
  Rig rig(TenPictures());
  ToStanding(rig);
  for (int k = 0; k < 3; ++k) {
    rig.seq->StepForward();
    EXPECT_EQ(rig.State(), S::NextImage);  // no erase, no off delay
    EXPECT_EQ(rig.host.screen.back(), "cleared");
    ToStanding(rig);
  }
  EXPECT_EQ(Shown(rig), (Numbers{0, 1, 2, 3}));
  EXPECT_EQ(rig.pictures->ResumeNumber(), 4);  // img4 was picked ahead but not shown
  for (int k = 0; k < 4; ++k) {
    rig.seq->StepBack();
    if (rig.State() == S::NextImage) ToStanding(rig);
  }
  EXPECT_EQ(Shown(rig), (Numbers{0, 1, 2, 3, 2, 1, 0}));  // at the first picture, back does nothing
  EXPECT_EQ(rig.State(), S::ImageStands);
  EXPECT_EQ(rig.host.waves.back(), "wave0.wav");  // each with its own sound
  EXPECT_EQ(rig.pictures->ResumeNumber(), 4);
  // Forward again: through the history, then the picture that was loading ahead.
  for (int k = 0; k < 5; ++k) {
    rig.seq->StepForward();
    ToStanding(rig);
  }
  EXPECT_EQ(Shown(rig), (Numbers{0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(rig.pictures->ResumeNumber(), 6);
}

TEST(ShowKeys, BackReachesAtLeastFiftyPicturesAndStepsPressedQuicklyAddUp) {
  Rig rig(TenPictures());
  ToStanding(rig);
  for (int k = 0; k < 70; ++k) {
    rig.seq->StepForward();
    ToStanding(rig);
  }
  const size_t before = rig.host.loaded.size();
  // Three presses before the first step's picture has loaded go back three.
  rig.host.loadTicks = 5;
  rig.seq->StepBack();
  rig.Tick();
  rig.seq->StepBack();
  rig.seq->StepBack();
  ToStanding(rig);
  EXPECT_EQ(rig.host.loaded.size(), before + 1);
  EXPECT_EQ(Shown(rig).back(), 7);  // 70 steps after img0: img0 again; three back: img7
  rig.host.loadTicks = 0;
  int steps = 3;
  while (true) {
    const size_t shown = rig.host.loaded.size();
    rig.seq->StepBack();
    if (rig.State() != S::NextImage) break;
    ToStanding(rig);
    ASSERT_EQ(rig.host.loaded.size(), shown + 1);
    ++steps;
  }
  EXPECT_GE(steps, 50);
  EXPECT_EQ(steps + 1, static_cast<int>(saver::ShowHistory::kKept));
  EXPECT_EQ(rig.pictures->ResumeNumber(), 71 % 10);
}

// Held down: 30 presses a second for 10 seconds while each picture takes
// 100 ms to load. Only loaded pictures appear, and the show keeps up.
TEST(ShowKeys, ForwardHeldDownShowsOnlyPicturesThatFinishedLoading) {
  Rig rig(TenPictures());
  rig.host.loadTicks = 20;  // 20 ticks of 5 ms
  ToStanding(rig);
  const DWORD end = rig.now + 10000;
  DWORD nextPress = rig.now;
  while (rig.now < end) {
    if (rig.now >= nextPress) {
      rig.seq->StepForward();
      nextPress += 33;
    }
    rig.Tick();
  }
  EXPECT_GT(rig.host.loaded.size(), 60u);
  EXPECT_EQ(rig.host.appearKinds.size(), rig.host.loaded.size());
  EXPECT_LE(rig.host.attempts.size(), rig.host.loaded.size() + 1);  // no load started and dropped
}

TEST(ShowKeys, ForwardSkipsTheTitleAndTheFirstDelay) {
  saver::SaverSettings s = TenPictures();
  s.Title.Title = true;
  s.Title.Text[0] = "a";
  s.Title.Text[1] = "b";
  s.Title.OnDelay = 5000;
  s.FirstDelay = 60000;
  Rig rig(s);
  rig.RunUntil(S::FirstLineStands);
  const int ends = rig.host.titleEnds;
  rig.seq->StepForward();
  EXPECT_EQ(rig.host.titleEnds, ends + 1);
  EXPECT_EQ(rig.host.screen, (std::vector<std::string>{"cleared"}));
  rig.Tick();
  EXPECT_EQ(rig.State(), S::FirstDelay);
  rig.seq->StepForward();
  const DWORD pressed = rig.now;
  ToStanding(rig);
  EXPECT_LT(rig.now - pressed, 500u);
  EXPECT_EQ(Shown(rig), (Numbers{0}));
}

TEST(ShowKeys, PauseHoldsThePictureAndSteppingWhilePausedStaysPaused) {
  Rig rig(TenPictures());
  ToStanding(rig);
  rig.Tick();
  rig.now += 1000;  // a second of its three stood
  rig.seq->SetPaused(true);
  for (int k = 0; k < 2000; ++k) rig.Tick();  // ten seconds
  EXPECT_EQ(rig.State(), S::ImageStands);
  rig.seq->StepForward();
  ToStanding(rig);
  for (int k = 0; k < 2000; ++k) rig.Tick();
  EXPECT_EQ(rig.State(), S::ImageStands);
  EXPECT_EQ(Shown(rig), (Numbers{0, 1}));
  EXPECT_EQ(rig.host.waves, (std::vector<std::string>{"wave0.wav"}));  // none while paused
  // Going on: the new picture stands its full time.
  rig.seq->SetPaused(false);
  const DWORD resumed = rig.now;
  rig.RunUntil(S::Erase);
  EXPECT_NEAR(static_cast<int>(rig.now - resumed), 3000, 10);
  // Paused while standing, it keeps the rest of its time for later.
  ToStanding(rig);
  rig.Tick();
  rig.now += 1000;
  rig.seq->SetPaused(true);
  rig.now += 60000;
  rig.Tick();
  rig.seq->SetPaused(false);
  const DWORD goOn = rig.now;
  rig.RunUntil(S::Erase);
  EXPECT_NEAR(static_cast<int>(rig.now - goOn), 2000, 10);
}

TEST(ShowKeys, TheCaptionComesAfterTheAppearAndGoesBeforeTheErase) {
  saver::SaverSettings s = TenPictures();
  Rig rig(s);
  rig.RunUntil(S::ImageOff);
  EXPECT_EQ(rig.host.screen, (std::vector<std::string>{"caption img0.bmp", "no caption"}));
  EXPECT_EQ(rig.host.eraseKinds.size(), 1u);
  s.NotErase = true;
  Rig kept(s);
  kept.RunUntil(S::ImageOff);
  EXPECT_EQ(kept.host.screen, (std::vector<std::string>{"caption img0.bmp", "no caption"}));
  EXPECT_EQ(kept.host.merges, 1);
}
