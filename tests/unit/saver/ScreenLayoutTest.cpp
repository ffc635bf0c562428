// The saver window over several monitors: pictures and the title on the
// primary one, with monitor layouts made up for the test.
#include <gtest/gtest.h>

#include "FakeHost.h"
#include "saver/ScreenLayout.h"
#include "saver/TitleStage.h"

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
  EXPECT_EQ(l.Primary.right, GetSystemMetrics(SM_CXSCREEN));
}

TEST(ScreenLayout, PicturesAreCentredOnThePrimaryMonitor) {
  // Client 3200 x 1280 over two monitors; the primary one at (1280, 200).
  saver::SaverSettings s = QuickTheme();
  Rig rig(s);
  rig.host.client = {3200, 1280};
  rig.host.area = {1280, 200, 3200, 1280};
  rig.host.image = {101, 51};
  rig.RunUntil(11);
  EXPECT_EQ(rig.seq->ImageLeft, 1280 + (1920 - 101) / 2);
  EXPECT_EQ(rig.seq->ImageTop, 200 + (1080 - 51) / 2);
  ASSERT_EQ(rig.host.staged.size(), 1u);
  EXPECT_EQ(rig.host.staged[0].x, rig.seq->ImageLeft);
}

TEST(ScreenLayout, RandomPlacesStayOnThePrimaryMonitor) {
  saver::SaverSettings s = QuickTheme();
  s.ImagePosRandom = true;
  Rig rig(s);
  rig.host.client = {3200, 1280};
  rig.host.area = {1280, 200, 3200, 1280};
  rig.host.image = {300, 200};
  for (int i = 0; i < 40; ++i) {
    rig.RunUntil(11);
    ASSERT_GE(rig.seq->ImageLeft, 1280);
    ASSERT_LE(rig.seq->ImageLeft + 300, 3200);
    ASSERT_GE(rig.seq->ImageTop, 200);
    ASSERT_LE(rig.seq->ImageTop + 200, 1280);
  }
}

TEST(ScreenLayout, TheTitleIsCentredOnThePrimaryMonitor) {
  RECT r = saver::CenteredInArea(RECT{1280, 200, 3200, 1280}, SIZE{101, 51});
  EXPECT_TRUE(Same(r, RECT{1280 + 909, 200 + 514, 1280 + 909 + 101, 200 + 514 + 51}));
}
