// Stretch: the whole picture scaled into a band growing from, or shrinking
// toward, the centre line of its rectangle.
#include <gtest/gtest.h>

#include "Cases.h"

using namespace fxtest;

namespace {

Steps StretchOnModel(const Geometry& g, int coin) {
  const int X = g.X, Y = g.Y, W = g.W, H = g.H, hw = W / 2, hh = H / 2;
  Steps steps;
  for (int e = 4; e <= (coin == 1 ? hh : hw); e += 4)
    steps.push_back([=](Model& m) {
      m.Stretch(coin == 1 ? RECT{X, Y + hh - e, X + W, Y + hh + e} : RECT{X + hw - e, Y, X + hw + e, Y + H});
      m.Flush(m.img);
    });
  steps.push_back([=](Model& m) {
    m.DrawImage(X, Y);
    m.Flush(m.img);
  });
  return steps;
}

Steps StretchOffModel(const Geometry& g, int coin) {
  const int X = g.X, Y = g.Y, W = g.W, H = g.H;
  Steps steps;
  for (int e = 4; e <= (coin == 1 ? W / 2 : H / 2); e += 4)
    steps.push_back([=](Model& m) {
      m.Restore(m.img);
      m.Stretch(coin == 1 ? RECT{X + e, Y, X + W - e, Y + H} : RECT{X, Y + e, X + W, Y + H - e});
      m.Flush(m.img);
    });
  steps.push_back([](Model& m) {
    m.Restore(m.img);
    m.Flush(m.img);
  });
  return steps;
}

}  // namespace

TEST(Stretch, EveryStepShowsTheScaledPictureInItsBand) {
  for (bool appear : {true, false})
    for (const auto& p : Placements()) {
      if (p.g.X < 0) continue;  // see the clipped case below
      for (int coin : {0, 1}) {
        EffectRig st(p.g, coin);
        Prepare(st, appear, 0);
        const char* name = appear ? "StretchOn" : "StretchOff";
        EXPECT_TRUE(RunEffect(st, appear ? saver::StretchOn : saver::StretchOff,
                              appear ? StretchOnModel(p.g, coin) : StretchOffModel(p.g, coin),
                              appear ? 7 : 13))
            << Label(name, p, coin);
        EXPECT_TRUE(EndState(st, appear)) << Label(name, p, coin);
      }
    }
}

TEST(Stretch, BandsHoldWholePictureRowsInOrderAndNothingElse) {
  // Independent of how GDI picks rows: each band row is one picture row,
  // unscaled across, rows in order from top to bottom, background outside.
  const Geometry g{40, 40, 20, 30, 10, 5};
  EffectRig st(g, 1);
  Prepare(st, true, 0);
  st.Run(saver::StretchOn);
  for (int e = 4; e <= 15; e += 4) {
    st.Run(saver::StretchOn);
    int lastRow = -1;
    for (int y = 5; y < 35; ++y) {
      const bool inBand = y >= 5 + 15 - e && y < 5 + 15 + e;
      const uint32_t first = st.window->Get(10, y);
      if (!inBand) {
        ASSERT_EQ(first, BackPixel(10, y)) << "e " << e << " row " << y;
        continue;
      }
      const int row = (first >> 11) & 0x7FF;
      ASSERT_GE(row, lastRow);
      lastRow = row;
      for (int x = 0; x < 20; ++x) ASSERT_EQ(st.window->Get(10 + x, y), ImagePixel(x, row));
    }
    EXPECT_GE(lastRow, 30 - 30 / (2 * e) - 1) << "the band reaches the picture's bottom rows";
  }
}

TEST(Stretch, APictureLessThanEightPixelsAcrossIsCompleteAtTheFirstStep) {
  EffectRig on({20, 20, 9, 7, 4, 4}, 1);  // 7 rows: half height 3 < 4
  Prepare(on, true, 0);
  on.Run(saver::StretchOn);
  on.Run(saver::StretchOn);
  EXPECT_EQ(on.show, saver::ShowState::PlaySound);
  EXPECT_TRUE(EndState(on, true));
  EffectRig off({20, 20, 7, 9, 4, 4}, 1);  // 7 columns: erasing narrows them
  Prepare(off, false, 0);
  off.Run(saver::StretchOff);
  off.Run(saver::StretchOff);
  EXPECT_EQ(off.show, saver::ShowState::ImageOff);
  EXPECT_TRUE(EndState(off, false));
}

TEST(Stretch, APictureLargerThanTheWindowEndsCompleteAndTouchesOnlyItsRectangle) {
  const Geometry g{40, 30, 50, 36, -5, -3};
  for (bool appear : {true, false})
    for (int coin : {0, 1}) {
      EffectRig st(g, coin);
      Prepare(st, appear, 0);
      Routine r = appear ? saver::StretchOn : saver::StretchOff;
      st.Run(r);
      int steps = 0;
      while (st.show == (appear ? saver::ShowState::Appear : saver::ShowState::Erase) && steps < 100) {
        st.Run(r);
        ++steps;
      }
      EXPECT_EQ(steps, (coin == 1) == appear ? 18 / 4 + 1 : 25 / 4 + 1);
      EXPECT_TRUE(EndState(st, appear));
    }
}
