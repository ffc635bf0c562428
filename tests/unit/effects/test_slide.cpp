// Slide and HalfSlide: the picture (or its two halves) sliding through the
// edges of its own rectangle, 2 pixels per step.
#include <gtest/gtest.h>

#include "Cases.h"

using namespace fxtest;

namespace {

struct Copy {
  RECT src;
  int x, y;
};

// Steps from a table: for s = 2, 4, ... up to the extent, the copies that
// step makes (after restoring the picture's rectangle when erasing); then the end.
template <class Table>
Steps SlideModel(bool appear, int extent, Table table) {
  Steps steps;
  for (int s = 2; s <= extent; s += 2)
    steps.push_back([=](Model& m) {
      if (!appear) m.Restore(m.img);
      for (const Copy& c : table(s)) m.Draw(c.src, c.x, c.y);
      m.Flush(m.img);
    });
  steps.push_back([=](Model& m) {
    if (appear) m.DrawImage(m.X, m.Y); else m.Restore(m.img);
    m.Flush(m.img);
  });
  return steps;
}

Steps SlideOnModel(const Geometry& g, int coin, int side) {
  const int X = g.X, Y = g.Y, W = g.W, H = g.H;
  return SlideModel(true, coin == 1 ? H : W, [=](int s) -> std::vector<Copy> {
    if (coin == 1 && side == 1) return {{{0, 0, W, s}, X, Y + H - s}};
    if (coin == 1) return {{{0, H - s, W, H}, X, Y}};
    if (side == 1) return {{{0, 0, s, H}, X + W - s, Y}};
    return {{{W - s, 0, W, H}, X, Y}};
  });
}

Steps SlideOffModel(const Geometry& g, int coin, int side) {
  const int X = g.X, Y = g.Y, W = g.W, H = g.H;
  return SlideModel(false, coin == 1 ? W : H, [=](int s) -> std::vector<Copy> {
    if (coin == 1 && side == 1) return {{{s, 0, W, H}, X, Y}};
    if (coin == 1) return {{{0, 0, W - s, H}, X + s, Y}};
    if (side == 1) return {{{0, s, W, H}, X, Y}};
    return {{{0, 0, W, H - s}, X, Y + s}};
  });
}

Steps HalfSlideOnModel(const Geometry& g, int coin, int side) {
  const int X = g.X, Y = g.Y, W = g.W, H = g.H, hw = W / 2, hh = H / 2;
  return SlideModel(true, coin == 1 ? H : W, [=](int s) -> std::vector<Copy> {
    if (coin == 1 && side == 1) return {{{0, 0, hw, s}, X, Y + H - s}, {{hw, H - s, W, H}, X + hw, Y}};
    if (coin == 1) return {{{0, H - s, hw, H}, X, Y}, {{hw, 0, W, s}, X + hw, Y + H - s}};
    if (side == 1) return {{{0, 0, s, hh}, X + W - s, Y}, {{W - s, hh, W, H}, X, Y + hh}};
    return {{{W - s, 0, W, hh}, X, Y}, {{0, hh, s, H}, X + W - s, Y + hh}};
  });
}

Steps HalfSlideOffModel(const Geometry& g, int coin, int side) {
  const int X = g.X, Y = g.Y, W = g.W, H = g.H, hw = W / 2, hh = H / 2;
  return SlideModel(false, coin == 1 ? W : H, [=](int s) -> std::vector<Copy> {
    if (coin == 1 && side == 1) return {{{s, 0, W, hh}, X, Y}, {{0, hh, W - s, H}, X + s, Y + hh}};
    if (coin == 1) return {{{0, 0, W - s, hh}, X + s, Y}, {{s, hh, W, H}, X, Y + hh}};
    if (side == 1) return {{{0, s, hw, H}, X, Y}, {{hw, 0, W, H - s}, X + hw, Y + s}};
    return {{{0, 0, hw, H - s}, X, Y + s}, {{hw, s, W, H}, X + hw, Y}};
  });
}

using ModelFn = Steps (*)(const Geometry&, int, int);
struct SlideCase {
  Routine routine;
  ModelFn model;
  bool appear;
  const char* name;
};
const SlideCase kCases[] = {
    {saver::SlideOn, SlideOnModel, true, "SlideOn"},
    {saver::SlideOff, SlideOffModel, false, "SlideOff"},
    {saver::HalfSlideOn, HalfSlideOnModel, true, "HalfSlideOn"},
    {saver::HalfSlideOff, HalfSlideOffModel, false, "HalfSlideOff"},
};

}  // namespace

TEST(Slide, EveryStepShowsWhatTheTablesSayForBothCoinsAndBothSides) {
  for (const auto& sc : kCases)
    for (const auto& p : Placements())
      for (int coin : {0, 1})
        for (int side : {0, 1}) {
          EffectRig st(p.g, coin);
          Prepare(st, sc.appear, side);
          EXPECT_TRUE(RunEffect(st, sc.routine, sc.model(p.g, coin, side), sc.appear ? 5 : 9))
              << Label(sc.name, p, coin, side);
          EXPECT_TRUE(EndState(st, sc.appear)) << Label(sc.name, p, coin, side);
        }
}

TEST(Slide, APictureOnePixelDeepIsCompleteAtTheFirstStep) {
  for (const auto& sc : kCases)
    for (int coin : {0, 1}) {
      // One pixel deep along the axis the routine slides on.
      const bool alongRows = (coin == 1) == sc.appear;
      EffectRig st({20, 20, alongRows ? 6 : 1, alongRows ? 1 : 6, 3, 3}, coin);
      Prepare(st, sc.appear, 1);
      st.Run(sc.routine);
      st.Run(sc.routine);
      EXPECT_EQ(st.show, sc.appear ? saver::ShowState::PlaySound : saver::ShowState::ImageOff) << sc.name << " coin " << coin;
      EXPECT_TRUE(EndState(st, sc.appear)) << sc.name << " coin " << coin;
    }
}

TEST(Slide, SplitSlideOnAnOddWidthMovesALeftHalfOfWDiv2ColumnsAndAWiderRightHalf) {
  // W = 9: left half columns 0..3 rises from the bottom, right half 4..8 descends.
  EffectRig st({30, 30, 9, 10, 5, 5}, 1);
  Prepare(st, true, 1);
  st.Run(saver::HalfSlideOn);
  st.Run(saver::HalfSlideOn);  // s = 2
  for (int x = 0; x < 9; ++x) {
    const bool left = x < 4;
    EXPECT_EQ(st.window->Get(5 + x, 5 + 8), left ? ImagePixel(x, 0) : BackPixel(5 + x, 13)) << x;
    EXPECT_EQ(st.window->Get(5 + x, 5), left ? BackPixel(5 + x, 5) : ImagePixel(x, 8)) << x;
    EXPECT_EQ(st.window->Get(5 + x, 6), left ? BackPixel(5 + x, 6) : ImagePixel(x, 9)) << x;
  }
}

TEST(Slide, TheSideIsDrawnAtEachSetUp) {
  // Random(100) mod 2: 37 gives side 1 (slide in from the bottom), 42 side 0 (from the top).
  for (int value : {37, 42}) {
    EffectRig st({20, 20, 4, 8, 2, 2}, 1);
    Prepare(st, true, 0);
    st.randomValue = value;
    st.Run(saver::SlideOn);
    st.Run(saver::SlideOn);
    EXPECT_EQ(st.window->Get(2, value == 37 ? 2 + 6 : 2), value == 37 ? ImagePixel(0, 0) : ImagePixel(0, 6));
  }
}
