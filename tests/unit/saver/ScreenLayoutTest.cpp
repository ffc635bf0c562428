// The saver window over several monitors: pictures and the title on the
// primary one, with monitor layouts made up for the test.
#include <gtest/gtest.h>

#include "FakeHost.h"
#include "saver/ScreenLayout.h"
#include "saver/TitleOverlay.h"

using saver_test::QuickTheme;
using saver_test::Rig;

namespace {
bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
}  // namespace

TEST(ScreenLayout, ThePrimaryMonitorInTheClientOfAWindowOverEveryMonitor) {
  // One monitor: the client is the primary monitor.
  saver::ScreenLayout one{{0, 0, 1024, 768}, {0, 0, 1024, 768}};
  EXPECT_TRUE(Same(saver::PrimaryInClient(one), RECT{0, 0, 1024, 768}));
  // A second monitor to the left, taller: the virtual screen starts at -1280.
  saver::ScreenLayout left{{-1280, -200, 1920, 1080}, {0, 0, 1920, 1080}};
  EXPECT_TRUE(Same(saver::PrimaryInClient(left), RECT{1280, 200, 3200, 1280}));
  // A second monitor to the right and below.
  saver::ScreenLayout right{{0, 0, 2944, 1792}, {0, 0, 1920, 1080}};
  EXPECT_TRUE(Same(saver::PrimaryInClient(right), RECT{0, 0, 1920, 1080}));
}

TEST(ScreenLayout, TheSystemsLayoutHoldsThePrimaryMonitor) {
  const saver::ScreenLayout l = saver::CurrentScreenLayout();
  RECT both;
  UnionRect(&both, &l.Virtual, &l.Primary);
  EXPECT_TRUE(Same(both, l.Virtual)) << "the virtual screen covers the primary monitor";
  EXPECT_EQ(l.Primary.left, 0);
  EXPECT_EQ(l.Primary.top, 0);
  EXPECT_GT(l.Primary.right, 0);
  EXPECT_GT(l.Primary.bottom, 0);
}

TEST(ScreenLayout, PicturesAreCentredOnThePrimaryMonitor) {
  // Client 3200 x 1280 over two monitors; the primary one at (1280, 200).
  saver::SaverSettings s = QuickTheme();
  Rig rig(s);
  rig.host.client = {3200, 1280};
  rig.host.area = {1280, 200, 3200, 1280};
  rig.host.image = {101, 51};
  rig.RunUntil(saver::ShowState::Appear);
  ASSERT_EQ(rig.host.staged.size(), 1u);
  EXPECT_EQ(rig.host.staged[0].x, 1280 + (1920 - 101) / 2);
  EXPECT_EQ(rig.host.staged[0].y, 200 + (1080 - 51) / 2);
}

TEST(ScreenLayout, RandomPlacesStayOnThePrimaryMonitor) {
  saver::SaverSettings s = QuickTheme();
  s.ImagePosRandom = true;
  Rig rig(s);
  rig.host.client = {3200, 1280};
  rig.host.area = {1280, 200, 3200, 1280};
  rig.host.image = {300, 200};
  for (int i = 0; i < 40; ++i) {
    rig.RunUntil(saver::ShowState::Appear);
    const POINT at = rig.host.staged.back();
    ASSERT_GE(at.x, 1280);
    ASSERT_LE(at.x + 300, 3200);
    ASSERT_GE(at.y, 200);
    ASSERT_LE(at.y + 200, 1280);
  }
}

TEST(ScreenLayout, TheTitleIsCentredOnThePrimaryMonitor) {
  RECT r = saver::CenteredInArea(RECT{1280, 200, 3200, 1280}, SIZE{101, 51});
  EXPECT_TRUE(Same(r, RECT{1280 + 909, 200 + 514, 1280 + 909 + 101, 200 + 514 + 51}));
}
