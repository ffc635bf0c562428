// Pictures loading in the background: the next one is picked and loading
// while the current one stands, a slow load keeps the show waiting (one
// load, the window ticking on) without changing which pictures, effects,
// places and sounds come, and the resume number ignores the picture
// loading ahead.
#include <gtest/gtest.h>

#include "FakeHost.h"

using namespace saver_test;

namespace {

constexpr ShowState kImageStands = ShowState::ImageStands;
constexpr ShowState kNextImage = ShowState::NextImage;
constexpr ShowState kAppear = ShowState::Appear;

// Everything the show did that a viewer would notice, over `pictures` pictures.
struct Show {
  std::vector<std::string> loaded, waves;
  std::vector<int> appear, erase;
  std::vector<std::pair<LONG, LONG>> places;
  bool operator==(const Show& o) const {
    return loaded == o.loaded && waves == o.waves && appear == o.appear && erase == o.erase && places == o.places;
  }
};

Show RunShow(int loadTicks, int pictures) {
  saver::SaverSettings s = QuickTheme();
  s.ImageCount = 6;
  s.ImageOrdRandom = true;
  s.ImagePosRandom = true;
  for (int k = 0; k < saver::kEffectKinds; ++k) s.AppearOn[k] = s.EraseOn[k] = true;
  Rig rig(s, {}, {{2, "broken.bmp"}});  // passed over wherever it comes
  rig.host.loadTicks = loadTicks;
  while (static_cast<int>(rig.host.waves.size()) < pictures) rig.Tick();
  Show show;
  show.loaded = rig.host.loaded;
  show.waves = rig.host.waves;
  show.appear = rig.host.appearKinds;
  show.erase = rig.host.eraseKinds;
  for (const POINT& p : rig.host.staged) show.places.push_back({p.x, p.y});
  return show;
}

}  // namespace

TEST(BackgroundLoad, TheNextPictureIsLoadingWhileTheCurrentOneStands) {
  Rig rig(QuickTheme());
  rig.RunUntil(kImageStands);
  EXPECT_EQ(rig.host.loaded, (std::vector<std::string>{"img0.bmp"}));
  EXPECT_EQ(rig.host.attempts, (std::vector<std::string>{"img0.bmp", "img1.bmp"}));
  EXPECT_EQ(rig.pictures->ResumeNumber(), 1) << "the picture loading ahead is not counted as shown";
  rig.RunUntil(kAppear);
  EXPECT_EQ(rig.host.loaded, (std::vector<std::string>{"img0.bmp", "img1.bmp"}));
  EXPECT_EQ(rig.host.attempts.size(), 2u) << "taken over, not loaded again";
  EXPECT_EQ(rig.pictures->ResumeNumber(), 2);
}

TEST(BackgroundLoad, ASlowLoadKeepsTheShowWaitingWithOneLoadAndTheSameShow) {
  Rig rig(QuickTheme());
  rig.host.loadTicks = 25;
  rig.RunUntil(kNextImage);
  const size_t attempts = rig.host.attempts.size();
  for (int i = 0; i < 20; ++i) {
    rig.Tick();
    EXPECT_EQ(rig.State(), kNextImage);
  }
  EXPECT_EQ(rig.host.attempts.size(), attempts) << "one load, not one a tick";
  EXPECT_TRUE(rig.host.appearKinds.empty());
  rig.RunUntil(kAppear, 10);

  // Same random source, loads taking no ticks or many: the same show.
  const Show quick = RunShow(0, 12), slow = RunShow(9, 12);
  EXPECT_TRUE(quick == slow);
  EXPECT_EQ(quick.loaded.size(), 12u);
  for (const std::string& name : quick.loaded) EXPECT_NE(name, "broken.bmp");
}
