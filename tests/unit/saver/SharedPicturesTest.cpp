// Two monitors' shows drawing from one picture source, as the saver's
// windows do with Monitors 1: the pictures they show at the same moment,
// the order they take them in, and the resume number.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "FakeHost.h"
#include "saver/ShowController.h"

using saver_test::FakeHost;
using saver_test::FakeRandom;
using saver_test::QuickTheme;

namespace {

// One source, two hosts, two sequencers, one clock; each sequencer asks the
// show controller's rule whether a picture is on screen or loading on either
// monitor.
struct TwoShows {
  DWORD now = 1000;
  std::shared_ptr<FakeRandom> random = std::make_shared<FakeRandom>();
  saver::RandomFn fn = [r = random](int bound) { return (*r)(bound); };
  FakeHost host[2];
  std::unique_ptr<saver::PictureSource> pictures;
  std::unique_ptr<saver::Sequencer> seq[2];

  explicit TwoShows(saver::SaverSettings s) {
    s.Entries = saver_test::ImageEntries();
    pictures = std::make_unique<saver::PictureSource>(s, fn);
    for (int i = 0; i < 2; ++i) {
      auto inUse = [this](const std::string& image) {
        return saver::PictureInUse({{OnScreen(host[0]), host[0].loading}, {OnScreen(host[1]), host[1].loading}},
                                   image);
      };
      seq[i] = std::make_unique<saver::Sequencer>(s, *pictures, host[i], i == 0 ? &host[i] : nullptr,
                                                  [this] { return now; }, fn, inUse);
    }
  }
  static std::string OnScreen(const FakeHost& h) { return h.loaded.empty() ? "" : h.loaded.back(); }
  // One window's timer fires; the clock moves by a millisecond first.
  void Tick(int window) {
    ++now;
    seq[window]->Tick();
  }
  // Both windows' timers fire.
  void Tick() {
    Tick(0);
    Tick(1);
  }
  size_t Loaded() const { return host[0].loaded.size() + host[1].loaded.size(); }
};

}  // namespace

TEST(SharedPictures, APictureIsInUseOnlyWhileAnotherShowHasIt) {
  const std::vector<saver::ShowPictures> two = {{"a.bmp", "b.bmp"}, {"c.bmp", ""}};
  for (const char* image : {"a.bmp", "b.bmp", "c.bmp"}) EXPECT_TRUE(saver::PictureInUse(two, image)) << image;
  EXPECT_FALSE(saver::PictureInUse(two, "d.bmp"));
  EXPECT_FALSE(saver::PictureInUse(two, ""));  // an entry with no picture
  // One show (a single monitor, or the primary with mirrors) never blocks its own next picture.
  EXPECT_FALSE(saver::PictureInUse({{"a.bmp", "b.bmp"}}, "a.bmp"));
}

TEST(SharedPictures, ListOrderIsDealtAcrossTheMonitors) {
  saver::SaverSettings s = QuickTheme();
  s.ImageCount = 6;
  TwoShows two(s);
  while (two.host[0].loaded.size() < 3 || two.host[1].loaded.size() < 3) two.Tick();
  std::multiset<std::string> firstSix;
  for (const FakeHost& h : two.host)
    for (size_t k = 0; k < 3; ++k) firstSix.insert(h.loaded[k]);
  // Every picture once before any comes again.
  EXPECT_EQ(firstSix, (std::multiset<std::string>{"img0.bmp", "img1.bmp", "img2.bmp", "img3.bmp", "img4.bmp",
                                                   "img5.bmp"}));
  EXPECT_EQ(two.host[0].loaded[0], "img0.bmp");
  EXPECT_EQ(two.host[1].loaded[0], "img1.bmp");
}

// Enough pictures: two per monitor, one on show and one loading ahead.
TEST(SharedPictures, NeverTheSamePictureOnBothAtOnceNorTwiceInARow) {
  for (bool random : {false, true}) {
    for (int count : {4, 5, 10}) {
      saver::SaverSettings s = QuickTheme();
      s.ImageCount = count;
      s.ImageOrdRandom = random;
      TwoShows two(s);
      size_t shown = 0;
      for (int tick = 0; tick < 20000; ++tick) {
        two.Tick();
        const std::string a = TwoShows::OnScreen(two.host[0]), b = TwoShows::OnScreen(two.host[1]);
        ASSERT_TRUE(a.empty() || a != b) << "both show " << a << " (random " << random << ", " << count << ")";
      }
      for (const FakeHost& h : two.host) {
        shown += h.loaded.size();
        for (size_t k = 1; k < h.loaded.size(); ++k)
          ASSERT_NE(h.loaded[k], h.loaded[k - 1]) << "random " << random << ", " << count << " pictures";
      }
      EXPECT_GT(shown, 100u);
    }
  }
}

TEST(SharedPictures, OnePictureForTwoMonitorsIsShownOnBoth) {
  saver::SaverSettings s = QuickTheme();
  s.ImageCount = 1;
  TwoShows two(s);
  while (two.host[0].loaded.size() < 3 || two.host[1].loaded.size() < 3) two.Tick();
  EXPECT_EQ(two.host[0].loaded.back(), "img0.bmp");
  EXPECT_EQ(two.host[1].loaded.back(), "img0.bmp");
}

TEST(SharedPictures, TheResumeNumberFollowsTheLastPictureEitherMonitorTook) {
  saver::SaverSettings s = QuickTheme();
  s.ImageCount = 5;
  TwoShows two(s);
  for (int tick = 0; two.Loaded() < 3; ++tick) two.Tick(tick % 2);
  // img0, img1 and img2 taken: the next run starts at 3 (a picture loading
  // ahead has not been taken).
  EXPECT_EQ(two.pictures->ResumeNumber(), 3);
}

TEST(SharedPictures, ThreePicturesForTwoMonitorsStillNeverRepeatOnOne) {
  for (bool random : {false, true}) {
    saver::SaverSettings s = QuickTheme();
    s.ImageCount = 3;
    s.ImageOrdRandom = random;
    TwoShows two(s);
    for (int tick = 0; tick < 20000; ++tick) two.Tick();
    for (const FakeHost& h : two.host) {
      ASSERT_GT(h.loaded.size(), 20u);
      for (size_t k = 1; k < h.loaded.size(); ++k) ASSERT_NE(h.loaded[k], h.loaded[k - 1]);
    }
  }
}
