// Pictures and the title within an image area that is only part of the
// client (a preview host, or a window larger than its monitor), with areas
// made up for the test.
#include <gtest/gtest.h>

#include "FakeHost.h"
#include "saver/TitleOverlay.h"

using saver_test::QuickTheme;
using saver_test::Rig;

namespace {
bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
}  // namespace

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
