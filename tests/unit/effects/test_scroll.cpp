// Scroll: the picture moves in from, or out through, the nearest window edge.
#include <gtest/gtest.h>

#include "Cases.h"

using namespace fxtest;

namespace {

// One moving step at (u, v): draw, flush the widened rectangle, take the picture out again.
ModelStep Move(int u, int v, RECT widened) {
  return [=](Model& m) {
    m.DrawImage(u, v);
    m.Flush(widened);
    m.Restore(RECT{u, v, u + m.W, v + m.H});
  };
}

// Positions from the entry edge to the picture's place, 2 pixels apart, then
// the picture drawn at its place.
Steps ScrollOnModel(const Geometry& g, int coin) {
  const int X = g.X, Y = g.Y, W = g.W, H = g.H;
  Steps steps;
  RECT last;
  if (coin == 1 && (g.CH - H) / 2 < Y) {  // up from the bottom edge
    for (int v = g.CH; v >= Y; v -= 2) steps.push_back(Move(X, v, RECT{X, v, X + W, v + H + 2}));
    last = RECT{X, Y, X + W, Y + H + 2};
  } else if (coin == 1) {  // down from the top edge
    for (int v = -H; v <= Y; v += 2) steps.push_back(Move(X, v, RECT{X, v - 2, X + W, v + H}));
    last = RECT{X, Y - 2, X + W, Y + H};
  } else if ((g.CW - W) / 2 < X) {  // left from the right edge
    for (int u = g.CW; u >= X; u -= 2) steps.push_back(Move(u, Y, RECT{u, Y, u + W + 2, Y + H}));
    last = RECT{X, Y, X + W + 2, Y + H};
  } else {  // right from the left edge
    for (int u = -W; u <= X; u += 2) steps.push_back(Move(u, Y, RECT{u - 2, Y, u + W, Y + H}));
    last = RECT{X - 2, Y, X + W, Y + H};
  }
  steps.push_back([=](Model& m) {
    m.DrawImage(X, Y);
    m.Flush(last);
  });
  return steps;
}

// Positions from the picture's place until it has left the window, then the
// background restored over the last widened rectangle.
Steps ScrollOffModel(const Geometry& g, int coin) {
  const int X = g.X, Y = g.Y, W = g.W, H = g.H;
  Steps steps;
  RECT last;
  if (coin == 1 && (g.CW - W) / 2 < X) {  // out through the right edge
    int u = X;
    for (; u <= g.CW; u += 2) steps.push_back(Move(u, Y, RECT{u - 2, Y, u + W, Y + H}));
    last = RECT{u - 2, Y, u + W, Y + H};
  } else if (coin == 1) {  // out through the left edge
    int u = X;
    for (; u + W >= 0; u -= 2) steps.push_back(Move(u, Y, RECT{u, Y, u + W + 2, Y + H}));
    last = RECT{u, Y, u + W + 2, Y + H};
  } else if ((g.CH - H) / 2 < Y) {  // out through the bottom edge
    int v = Y;
    for (; v <= g.CH; v += 2) steps.push_back(Move(X, v, RECT{X, v - 2, X + W, v + H}));
    last = RECT{X, v - 2, X + W, v + H};
  } else {  // out through the top edge
    int v = Y;
    for (; v + H >= 0; v -= 2) steps.push_back(Move(X, v, RECT{X, v, X + W, v + H + 2}));
    last = RECT{X, v, X + W, v + H + 2};
  }
  steps.push_back([=](Model& m) {
    m.Restore(last);
    m.Flush(last);
  });
  return steps;
}

}  // namespace

namespace {

// Runs the routine from its set-up until its state ends (at most 100 steps
// more), calling each(step) after every step; returns the steps after the set-up.
template <class F>
int StepsToEnd(EffectRig& st, saver::EffectRoutine routine, F each) {
  const saver::ShowState state = st.show;
  st.Run(routine);
  int steps = 0;
  while (st.show == state && steps < 100) {
    st.Run(routine);
    each(++steps);
  }
  return steps;
}

}  // namespace

TEST(Scroll, EveryStepShowsThePictureAtItsPositionAndTheBackgroundBehindIt) {
  ExpectEveryPlacement("Scroll", saver::ScrollOn, saver::ScrollOff, [](bool appear, const Geometry& g, int coin) {
    return appear ? ScrollOnModel(g, coin) : ScrollOffModel(g, coin);
  }, 5);
}

TEST(Scroll, ACentredPictureEntersFromTheTopOrTheLeft) {
  const Geometry g{40, 30, 16, 10, 12, 10};  // exactly centred
  EffectRig down(g, 1);
  Prepare(down, true, 0);
  for (int i = 0; i < 3; ++i) down.Run(saver::ScrollOn);  // set-up, y = -10, y = -8
  EXPECT_EQ(down.window->Get(12, 0), ImagePixel(0, 8));
  EXPECT_EQ(down.window->Get(12, 1), ImagePixel(0, 9));
  EXPECT_EQ(down.window->Get(12, 2), BackPixel(12, 2));
  EXPECT_EQ(down.screen->Get(12, 0), BackPixel(12, 0)) << "between steps the screen bitmap holds the background";
  EffectRig right(g, 0);
  Prepare(right, true, 0);
  for (int i = 0; i < 3; ++i) right.Run(saver::ScrollOn);
  EXPECT_EQ(right.window->Get(0, 10), ImagePixel(14, 0));
  EXPECT_EQ(right.window->Get(1, 10), ImagePixel(15, 0));
  EXPECT_EQ(right.window->Get(2, 10), BackPixel(2, 10));
}

TEST(Scroll, APictureBelowOrRightOfTheCentreEntersFromTheBottomOrTheRight) {
  const Geometry g{40, 30, 10, 6, 20, 20};
  EffectRig up(g, 1);
  Prepare(up, true, 0);
  for (int i = 0; i < 3; ++i) up.Run(saver::ScrollOn);  // y = 30, y = 28
  EXPECT_EQ(up.window->Get(20, 28), ImagePixel(0, 0));
  EXPECT_EQ(up.window->Get(20, 29), ImagePixel(0, 1));
  EffectRig left(g, 0);
  Prepare(left, true, 0);
  for (int i = 0; i < 3; ++i) left.Run(saver::ScrollOn);  // x = 40, x = 38
  EXPECT_EQ(left.window->Get(38, 20), ImagePixel(0, 0));
  EXPECT_EQ(left.window->Get(39, 20), ImagePixel(1, 0));
}

TEST(Scroll, APictureWiderThanTheWindowEntersFromMinusWAndStopsAtX) {
  const Geometry g{40, 30, 51, 10, -5, 10};  // (40 - 51) div 2 = -5
  EffectRig st(g, 0);
  Prepare(st, true, 0);
  const int steps = StepsToEnd(st, saver::ScrollOn, [&](int step) {
    if (step == 2) EXPECT_EQ(st.window->Get(0, 10), ImagePixel(49, 0)) << "x = -49 after -51";
  });
  EXPECT_EQ(steps, 24 + 1) << "x = -51, -49, ..., -5, then the final step";
  EXPECT_TRUE(EndState(st, true));
}

TEST(Scroll, ErasingACentredPictureLeavesThroughTheLeftOrTheTopAfterAStillFirstStep) {
  const Geometry g{40, 30, 16, 10, 12, 10};
  for (int coin : {1, 0}) {
    EffectRig st(g, coin);
    Prepare(st, false, 0);
    st.Run(saver::ScrollOff);
    st.Run(saver::ScrollOff);  // drawn where it stands
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        const bool in = x >= 12 && x < 28 && y >= 10 && y < 20;
        ASSERT_EQ(st.window->Get(x, y), in ? ImagePixel(x - 12, y - 10) : BackPixel(x, y));
      }
    st.Run(saver::ScrollOff);
    if (coin == 1) {
      EXPECT_EQ(st.window->Get(10, 10), ImagePixel(0, 0));
      EXPECT_EQ(st.window->Get(27, 10), BackPixel(27, 10));
    } else {
      EXPECT_EQ(st.window->Get(12, 8), ImagePixel(0, 0));
      EXPECT_EQ(st.window->Get(12, 19), BackPixel(12, 19));
    }
  }
}

TEST(Scroll, ErasingEndsAtTheFirstStepThePictureIsOutOfTheWindow) {
  // Up: ends when y + H < 0; y runs 4, 2, 0, -2, -4, -6 (y + H = -1).
  EffectRig st({40, 30, 10, 5, 15, 4}, 0);
  Prepare(st, false, 0);
  EXPECT_EQ(StepsToEnd(st, saver::ScrollOff, [](int) {}), 6);
  EXPECT_TRUE(EndState(st, false));
}
