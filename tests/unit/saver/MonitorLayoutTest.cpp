// Monitor layouts made up for the test: mixed sizes, monitors left of and
// above the primary (negative coordinates), mirrored and unplugged ones.
#include <gtest/gtest.h>

#include <vector>

#include "saver/MonitorLayout.h"
#include "settings/Keys.h"

using saver::Monitor;

namespace {
bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

std::vector<RECT> Bounds(const std::vector<Monitor>& m) {
  std::vector<RECT> r;
  for (const Monitor& x : m) r.push_back(x.Bounds);
  return r;
}

void ExpectRects(const std::vector<RECT>& got, const std::vector<RECT>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i)
    EXPECT_TRUE(Same(got[i], want[i])) << "monitor " << i << ": " << got[i].left << "," << got[i].top << ","
                                       << got[i].right << "," << got[i].bottom;
}

// Three monitors as a user might arrange them: a small one left of the
// primary, a tall one right of it reaching above it.
const std::vector<Monitor> kThree = {
    {{1920, -840, 3000, 1080}, false},  // 1080 x 1920, portrait, above the primary's top
    {{0, 0, 1920, 1080}, true},
    {{-800, 200, 0, 800}, false},       // 800 x 600, lower
};
}  // namespace

TEST(MonitorLayout, EveryMonitorPrimaryFirstThenLeftToRight) {
  for (int mode : {settings::kEachOwn, settings::kAllSame}) {
    const std::vector<Monitor> shown = saver::ShowMonitors(kThree, mode);
    ExpectRects(Bounds(shown), {{0, 0, 1920, 1080}, {-800, 200, 0, 800}, {1920, -840, 3000, 1080}});
    EXPECT_TRUE(shown[0].Primary);
    EXPECT_FALSE(shown[1].Primary || shown[2].Primary);
  }
}

TEST(MonitorLayout, PrimaryOnlyTakesThePrimaryWhereverItIsListed) {
  ExpectRects(Bounds(saver::ShowMonitors(kThree, settings::kPrimaryOnly)), {{0, 0, 1920, 1080}});
}

TEST(MonitorLayout, MirroredEmptyAndUnflaggedMonitors) {
  // A cloned display reports its rectangle twice: one show there.
  const std::vector<Monitor> cloned = {{{0, 0, 1024, 768}, true}, {{0, 0, 1024, 768}, false},
                                       {{1024, 0, 1824, 600}, false}};
  ExpectRects(Bounds(saver::ShowMonitors(cloned, settings::kEachOwn)), {{0, 0, 1024, 768}, {1024, 0, 1824, 600}});
  // An empty rectangle is no monitor.
  const std::vector<Monitor> empty = {{{0, 0, 1024, 768}, true}, {{1024, 0, 1024, 600}, false}};
  ExpectRects(Bounds(saver::ShowMonitors(empty, settings::kEachOwn)), {{0, 0, 1024, 768}});
  // No monitor flagged: the one at the origin is the primary.
  const std::vector<Monitor> unflagged = {{{-640, 0, 0, 480}, false}, {{0, 0, 1024, 768}, false}};
  const std::vector<Monitor> shown = saver::ShowMonitors(unflagged, settings::kPrimaryOnly);
  ExpectRects(Bounds(shown), {{0, 0, 1024, 768}});
  EXPECT_TRUE(shown[0].Primary);
  EXPECT_TRUE(saver::ShowMonitors({}, settings::kEachOwn).empty());
}

TEST(MonitorLayout, ASmallMonitorIsAMonitorLikeAnyOther) {
  const std::vector<Monitor> small = {{{0, 0, 1024, 768}, true}, {{1024, 0, 1344, 180}, false}};
  const std::vector<Monitor> shown = saver::ShowMonitors(small, settings::kEachOwn);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_TRUE(Same(shown[1].Bounds, RECT{1024, 0, 1344, 180}));
}

TEST(MonitorLayout, AfterADisplayChangeTheMonitorsStillThereGoOn) {
  const std::vector<Monitor> shown = saver::ShowMonitors(kThree, settings::kEachOwn);
  // The left monitor unplugged.
  EXPECT_EQ(saver::RemainingMonitors(shown, {kThree[0], kThree[1]}), (std::vector<int>{0, 2}));
  // The portrait monitor turned to landscape: a new rectangle, no longer the one shown.
  EXPECT_EQ(saver::RemainingMonitors(shown, {{{1920, 0, 3840, 1080}, false}, kThree[1], kThree[2]}),
            (std::vector<int>{0, 1}));
  EXPECT_EQ(saver::RemainingMonitors(shown, kThree), (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(saver::RemainingMonitors(shown, {}).empty());
}

TEST(MonitorLayout, TheSystemsMonitorsHoldAPrimaryAtTheOrigin) {
  const std::vector<Monitor> system = saver::ShowMonitors(saver::SystemMonitors(), settings::kEachOwn);
  ASSERT_FALSE(system.empty());
  EXPECT_TRUE(system[0].Primary);
  EXPECT_TRUE(Same(system[0].Bounds, RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
  EXPECT_EQ(static_cast<int>(saver::SystemMonitors().size()), GetSystemMetrics(SM_CMONITORS));
}
