// The sequencer driven tick by tick with a fake clock and random source.
#include <gtest/gtest.h>

#include <set>

#include "FakeHost.h"

using saver::MixDirection;
using saver_test::QuickTheme;
using saver_test::Rig;
using States = std::vector<S>;

namespace {

saver::SaverSettings TitledTheme() {
  saver::SaverSettings s = QuickTheme();
  s.Title.Title = true;
  s.Title.Text[0] = "First line";
  s.Title.Text[1] = "Second line";
  s.Title.FontName[0] = "Times New Roman";
  s.Title.FontName[1] = "Arial";
  s.Title.FadeInterval = 20;
  s.Title.OnDelay = 300;
  return s;
}

// Distinct states in the order the sequencer passes through them.
States StatePath(Rig& rig, S untilState) {
  States path = {rig.State()};
  for (int n = 0; n < 100000; ++n) {
    rig.Tick();
    if (rig.State() != path.back()) path.push_back(rig.State());
    if (path.size() > 1 && path.back() == untilState) break;
  }
  return path;
}

// Milliseconds the state takes from its first tick to the tick that leaves it.
int StateDuration(Rig& rig, S state) {
  rig.RunUntil(state);
  rig.Tick();  // the state's first tick
  DWORD start = rig.now;
  while (rig.State() == state) rig.Tick();
  return static_cast<int>(rig.now - start);
}

}  // namespace

TEST(Sequencer, PassesThroughTheTitleMusicAndImageStatesInOrder) {
  Rig rig(TitledTheme());
  EXPECT_EQ(StatePath(rig, S::Appear), (States{S::StartPause, S::FirstLineIn, S::FirstLineStands, S::FirstLineOut, S::LinePause, S::SecondLineIn, S::SecondLineStands, S::SecondLineOut, S::StartMusic, S::FirstDelay, S::NextImage, S::Appear}));
  // Then the image cycle, and again and again without the first delay.
  EXPECT_EQ(StatePath(rig, S::Appear), (States{S::Appear, S::PlaySound, S::ImageStands, S::Erase, S::ImageOff, S::NextImage, S::Appear}));
  EXPECT_EQ(rig.host.midis.size(), 0u);  // MidiCount 0: nothing to play
}

TEST(Sequencer, WithoutTitleGoesFromTheStartPauseStraightToTheMusic) {
  Rig rig(QuickTheme());
  EXPECT_EQ(StatePath(rig, S::NextImage), (States{S::StartPause, S::FirstLineIn, S::StartMusic, S::FirstDelay, S::NextImage}));
  EXPECT_TRUE(rig.host.titles.empty());
}

TEST(Sequencer, WaitsLastTheirDelayFromTheStatesFirstTick) {
  saver::SaverSettings s = TitledTheme();
  s.FirstDelay = 1234;
  s.ImageOnDelay = 777;
  s.ImageOffDelay = 432;
  {
    Rig rig(s);
    rig.Tick();
    DWORD start = rig.now;
    rig.RunUntil(S::FirstLineIn);
    EXPECT_EQ(static_cast<int>(rig.now - start), 700);
  }
  // Durations are whole ticks of 5 ms: the first tick at or after the deadline.
  Rig a(s);
  EXPECT_EQ(StateDuration(a, S::FirstLineStands), 300);
  EXPECT_EQ(StateDuration(a, S::LinePause), 500);
  EXPECT_EQ(StateDuration(a, S::FirstDelay), 1235);
  EXPECT_EQ(StateDuration(a, S::ImageStands), 780);
  EXPECT_EQ(StateDuration(a, S::ImageOff), 435);
}

TEST(Sequencer, EachTitleFadeIsASetUpTickAndEighteenTicksOfTheFadeInterval) {
  Rig rig(TitledTheme());
  for (S state : {S::FirstLineIn, S::FirstLineOut, S::SecondLineIn, S::SecondLineOut}) {
    rig.RunUntil(state);
    size_t framesBefore = rig.host.frames.size();
    int ticks = 0;
    std::vector<int> intervals;
    while (rig.State() == state) {
      rig.Tick();
      ++ticks;
      intervals.push_back(rig.host.interval);
    }
    EXPECT_EQ(ticks, 19) << "state " << static_cast<int>(state);
    EXPECT_EQ(intervals.front(), 20);  // TitleFadeInterval from the set-up tick on
    EXPECT_EQ(intervals.back(), saver::kIdleInterval);
    ASSERT_EQ(rig.host.frames.size() - framesBefore, 17u);
    MixDirection dir = state == S::FirstLineIn || state == S::SecondLineIn ? MixDirection::In : MixDirection::Out;
    for (int k = 0; k <= 16; ++k) {
      EXPECT_EQ(rig.host.frames[framesBefore + k].first, k);
      EXPECT_EQ(rig.host.frames[framesBefore + k].second, dir);
    }
  }
  ASSERT_EQ(rig.host.titles.size(), 4u);
  EXPECT_EQ(rig.host.titles[0].Text, "First line");
  EXPECT_EQ(rig.host.titles[1].Text, "First line");
  EXPECT_EQ(rig.host.titles[2].Text, "Second line");
  EXPECT_EQ(rig.host.titles[2].FontName, "Arial");
  EXPECT_EQ(rig.host.titles[2].Height, 96);
  EXPECT_EQ(rig.host.titleEnds, 4);
}

TEST(Sequencer, TitleColourIsHeldToItsRangeAndPreviewUsesSmallHeights) {
  saver::SaverSettings s = TitledTheme();
  s.Title.R = 255, s.Title.G = 300, s.Title.B = -5;
  Rig rig(s);
  rig.host.session = false;
  saver::TitleLine line0 = rig.seq->ChooseTitleLine(0);
  saver::TitleLine line1 = rig.seq->ChooseTitleLine(1);
  EXPECT_EQ(line0.Color, RGB(255, 255, 0));
  EXPECT_EQ(line0.Height, 12);
  EXPECT_EQ(line1.Height, 24);
}

TEST(Sequencer, AlternativeTitleNeedsTheDefaultTextsAndOneChanceInTen) {
  saver::SaverSettings s = TitledTheme();
  s.Title.Text[0] = "Wren presents";
  s.Title.Text[1] = "Glimora";
  {
    Rig rig(s, {30});  // 30 mod 10 = 0: the alternative title
    saver::TitleLine l0 = rig.seq->ChooseTitleLine(0), l1 = rig.seq->ChooseTitleLine(1);
    EXPECT_EQ(l0.Text, "れん ぷれぜんつ");
    EXPECT_EQ(l0.FontName, "ＭＳ ゴシック");
    EXPECT_EQ(l0.Height, 36);
    EXPECT_EQ(l0.Color, RGB(183, 183, 255));
    EXPECT_EQ(l1.Text, "ぐりもーら★");
    EXPECT_EQ(l1.Height, 48);
    EXPECT_EQ(l1.Color, RGB(255, 255, 183));
  }
  {
    Rig rig(s, {31});
    EXPECT_EQ(rig.seq->ChooseTitleLine(0).Text, "Wren presents");
  }
  s.Title.Text[1] = "glimora";  // case counts
  Rig rig(s, {0});  // the one run in ten, but not the default texts
  EXPECT_EQ(rig.seq->ChooseTitleLine(1).Text, "glimora");
}

TEST(Sequencer, ListOrderContinuesFromTheLastImageNumber) {
  saver::SaverSettings s = QuickTheme();
  s.LastImageNumber = 3;
  Rig rig(s);
  std::vector<int> next;
  for (int i = 0; i < 6; ++i) {
    rig.RunUntil(S::Appear);
    next.push_back(rig.pictures->ResumeNumber());
  }
  EXPECT_EQ(saver_test::ImageNumbers(rig.host.attempts), (std::vector<int>{3, 4, 0, 1, 2, 3}));
  EXPECT_EQ(next, (std::vector<int>{4, 0, 1, 2, 3, 4}));  // what closing would store
}

TEST(Sequencer, LastImageNumberBeyondTheListStartsAgainAtZero) {
  saver::SaverSettings s = QuickTheme();
  s.LastImageNumber = 7;
  Rig rig(s);
  for (int i = 0; i < 3; ++i) rig.RunUntil(S::Appear);
  EXPECT_EQ(saver_test::ImageNumbers(rig.host.attempts), (std::vector<int>{7, 0, 1}));
}

TEST(Sequencer, RandomOrderNeverShowsTheSameImageTwiceInARow) {
  saver::Playlist list;
  list.Count = 5;
  list.Random = true;
  saver_test::FakeRandom random;
  saver::RandomFn fn = [&](int b) { return random(b); };
  std::set<int> seen;
  int last = -1;
  for (int i = 0; i < 5000; ++i) {
    int n = list.Pick(fn);
    ASSERT_NE(n, last);
    ASSERT_GE(n, 0);
    ASSERT_LT(n, 5);
    seen.insert(n);
    last = n;
  }
  EXPECT_EQ(seen.size(), 5u);
  EXPECT_EQ(list.Next, 0);  // random order leaves the list position alone
}

TEST(Sequencer, RandomRepeatStepsUpOnEvenAndDownOnOddWithWrap) {
  saver::Playlist list;
  list.Count = 4;
  list.Random = true;
  std::deque<int> script = {35, 3, 4, 0, 0, 2, 2, 1, 1, 3, 0, 5};
  saver::RandomFn fn = [&](int) { int v = script.front(); script.pop_front(); return v; };
  std::vector<int> picks;
  for (int i = 0; i < 7; ++i) picks.push_back(list.Pick(fn));
  EXPECT_EQ(picks, (std::vector<int>{3, 0, 1, 2, 1, 0, 3}));
  EXPECT_TRUE(script.empty());
}

TEST(Sequencer, OneImageIsAlwaysImageZeroAndTwoAlternate) {
  saver::SaverSettings s = QuickTheme();
  s.ImageOrdRandom = true;
  s.ImageCount = 1;
  {
    Rig rig(s);
    for (int i = 0; i < 10; ++i) rig.RunUntil(S::Appear);
    EXPECT_EQ(saver_test::ImageNumbers(rig.host.attempts), std::vector<int>(10, 0));
  }
  s.ImageCount = 2;
  Rig rig(s);
  for (int i = 0; i < 40; ++i) rig.RunUntil(S::Appear);
  const std::vector<int> shown = saver_test::ImageNumbers(rig.host.attempts);
  for (size_t i = 1; i < shown.size(); ++i) ASSERT_NE(shown[i], shown[i - 1]);
}

TEST(Sequencer, AnImageThatCannotBeReadIsSkippedOnTheNextTick) {
  saver::SaverSettings s = QuickTheme();
  Rig rig(s, {}, {{1, "missing"}, {2, "missing"}});
  rig.RunUntil(S::Appear);
  rig.RunUntil(S::NextImage);
  rig.Tick();  // image 1 fails: state stays 10
  EXPECT_EQ(rig.State(), S::NextImage);
  rig.Tick();  // image 2 fails
  EXPECT_EQ(rig.State(), S::NextImage);
  rig.Tick();
  EXPECT_EQ(rig.State(), S::Appear);
  EXPECT_EQ(rig.host.loaded, (std::vector<std::string>{"img0.bmp", "img3.bmp"}));
}

TEST(Sequencer, AnEmptyImageListKeepsTheBackground) {
  saver::SaverSettings s = QuickTheme();
  s.ImageCount = 0;
  Rig rig(s);
  rig.RunUntil(S::NextImage);
  for (int i = 0; i < 1000; ++i) rig.Tick();
  EXPECT_EQ(rig.State(), S::NextImage);
  EXPECT_TRUE(rig.host.attempts.empty());
}

TEST(Sequencer, EffectChoiceNeverRepeatsAKindWithTwoOrMoreOn) {
  saver::SaverSettings s = QuickTheme();
  for (bool& on : s.AppearOn) on = false;
  s.AppearOn[saver::Scroll] = s.AppearOn[saver::Mesh] = s.AppearOn[saver::Fade] = true;
  for (bool& on : s.EraseOn) on = true;
  Rig rig(s);
  for (int i = 0; i < 300; ++i) rig.RunUntil(S::PlaySound);
  auto& a = rig.host.appearKinds;
  auto& e = rig.host.eraseKinds;
  ASSERT_EQ(a.size(), 300u);
  std::set<int> kinds(a.begin(), a.end());
  EXPECT_EQ(kinds, (std::set<int>{saver::Scroll, saver::Mesh, saver::Fade}));
  for (size_t i = 1; i < a.size(); ++i) ASSERT_NE(a[i], a[i - 1]);
  for (size_t i = 1; i < e.size(); ++i) ASSERT_NE(e[i], e[i - 1]);
  EXPECT_EQ(std::set<int>(e.begin(), e.end()).size(), 8u);
}

TEST(Sequencer, OneKindOnIsUsedEveryTimeAndNoneMeansBlind) {
  saver::SaverSettings s = QuickTheme();
  for (bool& on : s.AppearOn) on = false;
  for (bool& on : s.EraseOn) on = false;
  s.AppearOn[saver::Fade] = true;
  Rig rig(s);
  for (int i = 0; i < 5; ++i) rig.RunUntil(S::ImageOff);
  EXPECT_EQ(rig.host.appearKinds, std::vector<int>(5, saver::Fade));
  EXPECT_EQ(rig.host.eraseKinds, std::vector<int>(5, saver::Blind));
}

TEST(Sequencer, RandomDrawsOfOneImageComeInTheirOrder) {
  saver::SaverSettings s = QuickTheme();
  s.ImageOrdRandom = true;
  s.ImagePosRandom = true;
  s.AppearOn[saver::Slide] = true;  // two appear kinds: Blind and Slide
  // easter, image (x10 bound), coin, appear k, appear direction, top, left
  Rig rig(s, {5, 23, 57, 4, 6, 99, 444});
  rig.RunUntil(S::Appear);
  EXPECT_EQ(rig.host.attempts.front(), "img3.bmp");
  EXPECT_EQ(rig.host.coins, (std::vector<int>{1}));
  ASSERT_EQ(rig.host.staged.size(), 1u);
  EXPECT_EQ(rig.host.staged[0].y, 99);
  EXPECT_EQ(rig.host.staged[0].x, 444);
  rig.RunUntil(S::Erase);
  rig.Tick();  // the erase effect's set-up
  EXPECT_EQ(rig.host.appearKinds, (std::vector<int>{saver::Slide}));
  EXPECT_EQ(rig.host.eraseKinds, (std::vector<int>{saver::Blind}));
}

TEST(Sequencer, ImagesAreCentredWhenNotRandomOrLargerThanTheWindow) {
  saver::SaverSettings s = QuickTheme();
  {
    Rig rig(s);
    rig.host.image = {101, 51};
    rig.RunUntil(S::Appear);
    ASSERT_EQ(rig.host.staged.size(), 1u);
    EXPECT_EQ(rig.host.staged[0].x, 269);  // (640 - 101) / 2
    EXPECT_EQ(rig.host.staged[0].y, 214);
  }
  s.ImagePosRandom = true;
  Rig rig(s);
  rig.host.image = {701, 481};
  rig.RunUntil(S::Appear);
  ASSERT_EQ(rig.host.staged.size(), 1u);
  EXPECT_EQ(rig.host.staged[0].x, -30);  // toward zero
  EXPECT_EQ(rig.host.staged[0].y, 0);
}

TEST(Sequencer, NotEraseKeepsTheImageAndSkipsTheErase) {
  saver::SaverSettings s = QuickTheme();
  s.NotErase = true;
  Rig rig(s);
  rig.RunUntil(S::ImageStands);
  EXPECT_EQ(StatePath(rig, S::Appear), (States{S::ImageStands, S::ImageOff, S::NextImage, S::Appear}));
  EXPECT_EQ(rig.host.merges, 1);
  EXPECT_TRUE(rig.host.eraseKinds.empty());
}

TEST(Sequencer, SoundStartsWhenTheImageStandsAndNeverInThePreview) {
  Rig rig(QuickTheme());
  rig.RunUntil(S::PlaySound);
  EXPECT_TRUE(rig.host.waves.empty());
  rig.Tick();
  EXPECT_EQ(rig.host.waves, (std::vector<std::string>{"wave0.wav"}));
  Rig preview(QuickTheme());
  preview.host.session = false;
  preview.RunUntil(S::ImageStands);
  EXPECT_TRUE(preview.host.waves.empty());
}

TEST(Sequencer, MidiListOrderFromTheLastNumberWraps) {
  saver::SaverSettings s = QuickTheme();
  s.MidiCount = 3;
  s.MidiOrdRandom = false;
  s.LastMidiNumber = 2;
  Rig rig(s);
  rig.RunUntil(S::FirstDelay);
  for (int i = 0; i < 4; ++i) rig.seq->MidiSet();  // completion notices
  EXPECT_EQ(rig.host.midis, (std::vector<int>{2, 0, 1, 2, 0}));
  EXPECT_EQ(rig.seq->NextMidiNumber(), 1);
}

TEST(Sequencer, MidiRandomOrderWithTwoFilesAlternates) {
  saver::SaverSettings s = QuickTheme();
  s.MidiCount = 2;
  Rig rig(s);
  for (int i = 0; i < 50; ++i) rig.seq->MidiSet();
  for (size_t i = 1; i < rig.host.midis.size(); ++i) ASSERT_NE(rig.host.midis[i], rig.host.midis[i - 1]);
  EXPECT_EQ(rig.seq->NextMidiNumber(), 0);
}

TEST(Sequencer, NoMusicWhenBgmIsOff) {
  saver::SaverSettings s = QuickTheme();
  s.MidiCount = 3;
  s.BGM = false;
  Rig rig(s);
  rig.RunUntil(S::Appear);
  rig.seq->MidiSet();
  EXPECT_TRUE(rig.host.midis.empty());
}

TEST(Sequencer, MusicThatFailsIsRetriedAfterTheOffDelayWithoutTheFirstDelay) {
  saver::SaverSettings s = QuickTheme();
  s.MidiCount = 3;
  s.MidiOrdRandom = false;
  Rig rig(s);
  rig.host.midiStarts = [](int n) { return n != 0; };  // Midi0 is missing
  rig.RunUntil(S::FirstDelay);
  rig.RunUntil(S::ImageOff);
  EXPECT_EQ(rig.host.midis, (std::vector<int>{0}));  // nothing retries before the off-delay ends
  EXPECT_EQ(StatePath(rig, S::Appear), (States{S::ImageOff, S::StartMusic, S::NextImage, S::Appear}));
  EXPECT_EQ(rig.host.midis, (std::vector<int>{0, 1}));
  EXPECT_EQ(StatePath(rig, S::Appear), (States{S::Appear, S::PlaySound, S::ImageStands, S::Erase, S::ImageOff, S::NextImage, S::Appear}));
}

TEST(Sequencer, PicturesTheComponentRejectsArePassedOverWithoutEffectOrSound) {
  // Broken data, an unknown extension and a missing Image<n> key are
  // reported by the component without an exception, like a missing file.
  saver::SaverSettings s = QuickTheme();
  Rig rig(s, {}, {{0, "broken.bmp"}, {1, "photo.xyz"}, {2, ""}});
  rig.RunUntil(S::NextImage);
  for (int i = 0; i < 3; ++i) {
    rig.Tick();
    EXPECT_EQ(rig.State(), S::NextImage) << "attempt " << i;
  }
  rig.Tick();
  EXPECT_EQ(rig.State(), S::Appear);
  EXPECT_EQ(rig.host.attempts, (std::vector<std::string>{"broken.bmp", "photo.xyz", "", "img3.bmp"}));
  rig.Tick();  // the appear effect's set-up
  EXPECT_EQ(rig.host.appearKinds.size(), 1u);  // only for img3
  rig.RunUntil(S::ImageStands);
  EXPECT_EQ(rig.host.waves, (std::vector<std::string>{"wave3.wav"}));
}

TEST(Sequencer, WhenNoPictureCanBeShownTheBackgroundStaysWithOneAttemptPerTick) {
  saver::SaverSettings s = QuickTheme();
  s.ImageCount = 3;
  Rig rig(s, {}, {{0, "broken.bmp"}, {1, "broken.bmp"}, {2, "broken.bmp"}});
  rig.RunUntil(S::NextImage);
  for (int i = 0; i < 600; ++i) rig.Tick();
  EXPECT_EQ(rig.State(), S::NextImage);
  EXPECT_EQ(rig.host.attempts.size(), 600u);
  EXPECT_TRUE(rig.host.appearKinds.empty());
  EXPECT_TRUE(rig.host.staged.empty());
  EXPECT_TRUE(rig.host.waves.empty());
}
