// The picture source over folder entries, with real folders in the
// temporary folder: list order through nested folders and files, the
// resume place inside a folder, shuffled rounds across files and folders,
// and folders with nothing in them.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "FakeHost.h"
#include "saver/PictureSource.h"
#include "unit/library/TempTree.h"

namespace {

// The library tests' folder tree, with the ANSI paths the theme holds.
class Tree {
 public:
  // Makes root\rel (folders on the way too) and returns its path.
  std::string File(const std::string& rel) {
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, rel.c_str(), -1, wide, MAX_PATH);
    tree_.File(wide);
    return Root() + rel;
  }
  std::string Root() const { return tree_.RootAnsi(); }

 private:
  library_test::TempTree tree_;
};

saver::SaverSettings Theme(const std::vector<std::string>& images, bool random = false) {
  saver::SaverSettings s;
  s.ImageCount = static_cast<int>(images.size());
  s.ImageOrdRandom = random;
  std::string block;
  for (size_t n = 0; n < images.size(); ++n) {
    block += "Image" + std::to_string(n) + "=" + images[n] + '\0';
    block += "Wave" + std::to_string(n) + "=wave" + std::to_string(n) + ".wav" + '\0';
  }
  block += '\0';
  s.Entries = settings::Section::Parse(block.data(), block.size());
  return s;
}

saver::RandomFn Seeded(unsigned seed) {
  auto engine = std::make_shared<std::mt19937>(seed);
  return [engine](int bound) { return bound <= 0 ? 0 : static_cast<int>((*engine)() % bound); };
}

// The next picture that is not a wait for a folder still being read.
saver::ShowPicture NextFound(saver::PictureSource& source) {
  for (int i = 0; i < 2000; ++i) {
    saver::ShowPicture p = source.Next();
    if (!p.Waiting) return p;
    Sleep(5);
  }
  return {};
}

}  // namespace

TEST(FolderSource, ListOrderGoesThroughNestedFoldersBetweenFiles) {
  Tree t;
  const std::string a = t.File("a.bmp"), b = t.File("b.bmp");
  const std::string p10 = t.File("album\\p10.bmp"), p9 = t.File("album\\p9.jpg");
  const std::string deep = t.File("album\\2024\\05\\d.png");
  t.File("album\\notes.txt");
  saver::PictureSource source(Theme({a, t.Root() + "album\\", b}), Seeded(1));
  std::vector<std::string> images, waves;
  for (int i = 0; i < 7; ++i) {
    const saver::ShowPicture p = NextFound(source);
    images.push_back(p.Image);
    waves.push_back(p.Wave);
  }
  EXPECT_EQ(images, (std::vector<std::string>{a, p9, p10, deep, b, a, p9}));
  EXPECT_EQ(waves, (std::vector<std::string>{"wave0.wav", "wave1.wav", "wave1.wav", "wave1.wav", "wave2.wav",
                                             "wave0.wav", "wave1.wav"}));
}

TEST(FolderSource, ResumesAfterTheLastPictureTakenInsideAFolder) {
  Tree t;
  const std::string a = t.File("a.bmp");
  const std::string p1 = t.File("f\\1.bmp"), p2 = t.File("f\\2.bmp"), s3 = t.File("f\\sub\\3.bmp");
  const std::vector<std::string> list = {a, t.Root() + "f\\"};
  saver::PictureSource first(Theme(list), Seeded(1));
  first.Taken(NextFound(first));  // a
  first.Taken(NextFound(first));  // f\1.bmp
  EXPECT_EQ(first.ResumeNumber(), 1);
  EXPECT_EQ(first.ResumeInFolder(), "1.bmp");

  saver::SaverSettings again = Theme(list);
  again.LastImageNumber = first.ResumeNumber();
  again.LastImageInFolder = first.ResumeInFolder();
  saver::PictureSource second(again, Seeded(1));
  EXPECT_EQ(NextFound(second).Image, p2);
  EXPECT_EQ(NextFound(second).Image, s3);
  const saver::ShowPicture last = NextFound(second);
  EXPECT_EQ(last.Image, a);
  EXPECT_EQ(last.Resume, 1);

  // The picture shown last was deleted since: the show goes on after its place.
  again.LastImageInFolder = "1b.bmp";
  saver::PictureSource third(again, Seeded(1));
  EXPECT_EQ(NextFound(third).Image, p2);
  // The folder's last picture: the next entry follows.
  again.LastImageInFolder = "sub\\3.bmp";
  saver::PictureSource fourth(again, Seeded(1));
  EXPECT_EQ(NextFound(fourth).Image, a);
  (void)p1;
}

TEST(FolderSource, RandomOrderDealsEveryPictureOnceARoundAcrossFilesAndFolders) {
  Tree t;
  const std::string x = t.File("x.bmp");
  std::set<std::string> all = {x};
  for (int i = 0; i < 6; ++i) all.insert(t.File("f\\" + std::to_string(i) + ".bmp"));
  for (int i = 0; i < 3; ++i) all.insert(t.File("f\\sub\\s" + std::to_string(i) + ".bmp"));
  for (unsigned seed = 0; seed < 10; ++seed) {
    saver::SaverSettings theme = Theme({x, t.Root() + "f\\"}, true);
    theme.LastImageNumber = 1;
    saver::PictureSource source(theme, Seeded(seed));
    // Once the walk has found all ten, every round covers them all.
    for (int i = 0; i < 2000 && source.Count() < static_cast<int>(all.size()); ++i) Sleep(5);
    ASSERT_EQ(source.Count(), static_cast<int>(all.size())) << "seed " << seed;
    std::string previous;
    for (int round = 0; round < 5; ++round) {
      std::set<std::string> seen;
      for (size_t k = 0; k < all.size(); ++k) {
        const saver::ShowPicture p = NextFound(source);
        ASSERT_NE(p.Image, previous) << "seed " << seed;
        ASSERT_TRUE(seen.insert(p.Image).second) << p.Image;
        EXPECT_EQ(p.Resume, 1);  // random order leaves the place alone
        previous = p.Image;
      }
      EXPECT_EQ(seen, all);
    }
  }
}

TEST(FolderSource, EmptyAndMissingFoldersArePassedOverWithoutEndlessWaiting) {
  Tree t;
  const std::string a = t.File("a.bmp");
  CreateDirectoryA((t.Root() + "empty").c_str(), nullptr);
  saver::PictureSource source(Theme({t.Root() + "empty\\", "C:\\no\\such\\folder\\", a}), Seeded(1));
  EXPECT_EQ(NextFound(source).Image, a);
  EXPECT_EQ(NextFound(source).Image, a);
  RemoveDirectoryA((t.Root() + "empty").c_str());

  // Nothing but a missing folder: asked again and again (before its walk
  // ends and after), the source hands out no picture and returns at once.
  saver::PictureSource nothing(Theme({"C:\\no\\such\\folder\\"}), Seeded(1));
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(nothing.Next().Waiting);
}

// While the folders have nothing to give (still being read, or read to the
// end and empty: the source waits either way), the show polls the source on
// its timer and loads nothing: an empty load on every tick kept the worker
// and the window so busy that the walk of the next folder never got to run.
TEST(FolderSource, TheShowStartsNoLoadWhileTheFoldersHaveNothingToGive) {
  Tree t;
  CreateDirectoryA((t.Root() + "empty").c_str(), nullptr);
  saver::SaverSettings s = saver_test::QuickTheme();
  const saver::SaverSettings listed = Theme({t.Root() + "empty\\", "C:\\no\\such\\folder\\"});
  s.ImageCount = listed.ImageCount;
  s.Entries = listed.Entries;
  saver::PictureSource pictures(s, Seeded(1));
  saver_test::FakeHost host;
  DWORD now = 1000;
  saver::Sequencer seq(s, pictures, host, &host, [&now] { return now; }, Seeded(2));
  for (int i = 0; i < 400; ++i, now += 5) seq.Tick();
  EXPECT_EQ(seq.State(), saver::ShowState::NextImage);
  EXPECT_TRUE(host.attempts.empty());
  EXPECT_TRUE(host.staged.empty());
  RemoveDirectoryA((t.Root() + "empty").c_str());
}
