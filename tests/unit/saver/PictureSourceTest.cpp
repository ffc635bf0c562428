// The show's pictures as the window's PictureSource hands them out: to one
// sequencer or several, with the resume number closing stores.
#include <gtest/gtest.h>

#include "FakeHost.h"

using saver::ShowState;
using saver_test::FakeHost;
using saver_test::FakeRandom;
using saver_test::ImageEntries;
using saver_test::QuickTheme;

namespace {

saver::SaverSettings ListTheme(int count, int last) {
  saver::SaverSettings s = QuickTheme();
  s.ImageCount = count;
  s.LastImageNumber = last;
  s.Entries = ImageEntries();
  return s;
}

}  // namespace

TEST(PictureSource, HandsOutTheListWithItsSoundsAndTheResumeNumberMovesOnlyWhenTaken) {
  saver::PictureSource source(ListTheme(3, 1), [](int) { return 0; });
  EXPECT_EQ(source.ResumeNumber(), 1);
  const saver::ShowPicture a = source.Next();
  EXPECT_EQ(a.Image, "img1.bmp");
  EXPECT_EQ(a.Wave, "wave1.wav");
  const saver::ShowPicture b = source.Next();
  EXPECT_EQ(b.Image, "img2.bmp");
  EXPECT_EQ(source.ResumeNumber(), 1) << "nothing taken yet";
  source.Taken(a);
  EXPECT_EQ(source.ResumeNumber(), 2);
  source.Taken(b);
  EXPECT_EQ(source.ResumeNumber(), 0) << "after the last entry the list starts again";
  EXPECT_EQ(source.Next().Image, "img0.bmp");
}

TEST(PictureSource, AThemeWithoutPicturesIsEmpty) {
  EXPECT_TRUE(saver::PictureSource(ListTheme(0, 0), [](int) { return 0; }).Empty());
  EXPECT_FALSE(saver::PictureSource(ListTheme(1, 0), [](int) { return 0; }).Empty());
}

TEST(PictureSource, TwoSequencersDrawingFromOneSourceShowEveryPictureInTurn) {
  const saver::SaverSettings s = ListTheme(10, 0);
  auto random = std::make_shared<FakeRandom>();
  const saver::RandomFn fn = [random](int bound) { return (*random)(bound); };
  saver::PictureSource source(s, fn);
  FakeHost left, right;
  DWORD now = 1000;
  saver::Sequencer a(s, source, left, &left, [&] { return now; }, fn);
  saver::Sequencer b(s, source, right, nullptr, [&] { return now; }, fn);
  while (left.loaded.size() + right.loaded.size() < 6) {
    now += saver::kIdleInterval;
    a.Tick();
    b.Tick();
  }
  std::vector<std::string> all = left.attempts;
  all.insert(all.end(), right.attempts.begin(), right.attempts.end());
  std::vector<int> numbers = saver_test::ImageNumbers(all);
  std::sort(numbers.begin(), numbers.end());
  for (size_t i = 0; i < numbers.size(); ++i)
    EXPECT_EQ(numbers[i], static_cast<int>(i)) << "each picture handed out once, in list order";
  EXPECT_FALSE(left.loaded.empty());
  EXPECT_FALSE(right.loaded.empty());
}
