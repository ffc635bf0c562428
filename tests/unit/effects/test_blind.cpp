// Blind: two passes of a period-four blind, opened from both ends.
#include <gtest/gtest.h>

#include <map>

#include "Cases.h"

using namespace fxtest;

namespace {

// The steps as the pass description gives them: lines 0, 4, ... with mirrors
// E-s-1, E-s-5, ...; an empty step; lines 1+a, 5+a, ... with mirrors
// E-s-2-a, ...; an empty step; the whole picture.
Steps BlindModel(bool appear, bool rows, const Geometry& g) {
  const int E = rows ? g.H : g.W, a = E % 4 / 2, s = E % 2;
  auto line = [=](Model& m, int i) {
    const RECT client = rows ? RECT{g.X, g.Y + i, g.X + g.W, g.Y + i + 1}
                             : RECT{g.X + i, g.Y, g.X + i + 1, g.Y + g.H};
    if (appear)
      m.Draw(rows ? RECT{0, i, g.W, i + 1} : RECT{i, 0, i + 1, g.H}, client.left, client.top);
    else
      m.Restore(client);
  };
  Steps steps;
  auto pass = [&](int first, int mirror) {
    for (int i = first, j = mirror; i < E; i += 4, j -= 4)
      steps.push_back([=](Model& m) {
        line(m, i);
        if (j >= 0) line(m, j);
        m.Flush(m.img);
      });
  };
  pass(0, E - s - 1);
  steps.push_back([](Model&) {});
  pass(1 + a, E - s - 2 - a);
  steps.push_back([](Model&) {});
  steps.push_back([=](Model& m) {
    if (appear) m.DrawImage(g.X, g.Y); else m.Restore(m.img);
    m.Flush(m.img);
  });
  return steps;
}

// Lines of the picture that one step drew, found by resetting its place before each step.
struct LineCount {
  std::map<int, int> timesDrawn;
  int drawingSteps = 0, emptySteps = 0, stepsWithOneLine = 0, finalSteps = 0;
  bool outside = false;
};

LineCount CountLines(bool appear, bool rows, int E) {
  const Geometry g = rows ? Geometry{7, E + 4, 3, E, 2, 2} : Geometry{E + 4, 7, E, 3, 2, 2};
  EffectRig st(g, appear == rows ? 1 : 0);
  Prepare(st, appear, 0);
  Routine routine = appear ? saver::BlindOn : saver::BlindOff;
  st.Run(routine);
  LineCount n;
  for (int guard = 0; guard < 4 * E + 10 && st.show == (appear ? saver::ShowState::Appear : saver::ShowState::Erase); ++guard) {
    if (appear) st.ClearImageRect(); else st.ShowImage();
    st.Run(routine);
    if (st.show != (appear ? saver::ShowState::Appear : saver::ShowState::Erase)) { ++n.finalSteps; break; }
    int lines = 0;
    for (int i = 0; i < E; ++i) {
      const int x = rows ? g.X : g.X + i, y = rows ? g.Y + i : g.Y;
      const int ix = x - g.X, iy = y - g.Y;
      if (st.screen->Get(x, y) == (appear ? st.imagePx(ix, iy) : st.backPx(x, y))) {
        ++n.timesDrawn[i];
        ++lines;
      }
    }
    for (int y = 0; y < g.CH; ++y)
      for (int x = 0; x < g.CW; ++x)
        if ((x < g.X || y < g.Y || x >= g.X + g.W || y >= g.Y + g.H) && st.screen->Get(x, y) != st.backPx(x, y))
          n.outside = true;
    if (lines == 0) ++n.emptySteps; else ++n.drawingSteps;
    if (lines == 1) ++n.stepsWithOneLine;
  }
  return n;
}

}  // namespace

TEST(Blind, EveryStepShowsWhatThePassesSay) {
  ExpectEveryPlacement("Blind", saver::BlindOn, saver::BlindOff, [](bool appear, const Geometry& g, int coin) {
    const bool rows = appear ? coin == 1 : coin == 0;  // erasing works across the other axis
    return BlindModel(appear, rows, g);
  }, 5);
}

TEST(Blind, EachLineIsDrawnExactlyOnceAndNothingOutsideThePicture) {
  for (bool appear : {true, false})
    for (bool rows : {true, false})
      for (int E = 1; E <= 64; ++E) {
        const LineCount n = CountLines(appear, rows, E);
        const std::string what = std::string(appear ? "BlindOn" : "BlindOff") + (rows ? " rows" : " columns") + " E=" + std::to_string(E);
        ASSERT_EQ(static_cast<int>(n.timesDrawn.size()), E) << what;
        for (const auto& [line, times] : n.timesDrawn) ASSERT_EQ(times, 1) << what << " line " << line;
        EXPECT_FALSE(n.outside) << what;
        EXPECT_EQ(n.emptySteps, 2) << what;
        EXPECT_EQ(n.finalSteps, 1) << what;
        // A mirror line of index -1 is skipped once when E is odd, never otherwise.
        EXPECT_EQ(n.stepsWithOneLine, E % 2) << what;
      }
}

TEST(Blind, FourHundredEightyRowsTake240DrawingStepsTwoEmptyStepsAndTheFinalStep) {
  const LineCount n = CountLines(true, true, 480);
  EXPECT_EQ(n.drawingSteps, 240);
  EXPECT_EQ(n.emptySteps, 2);
  EXPECT_EQ(n.finalSteps, 1);
}

TEST(Blind, OneRowDrawsLineZeroThenTwoEmptyStepsThenTheWholePicture) {
  EffectRig st({20, 10, 6, 1, 3, 4}, 1);
  Prepare(st, true, 0);
  st.Run(saver::BlindOn);
  st.Run(saver::BlindOn);
  for (int x = 0; x < 6; ++x) EXPECT_EQ(st.window->Get(3 + x, 4), ImagePixel(x, 0));
  st.Run(saver::BlindOn);
  st.Run(saver::BlindOn);
  EXPECT_EQ(st.show, saver::ShowState::Appear);
  st.Run(saver::BlindOn);
  EXPECT_EQ(st.show, saver::ShowState::PlaySound);
  EXPECT_TRUE(EndState(st, true));
}

TEST(Blind, WithCoinOneAppearOpensHorizontalSlatsAndEraseClosesVerticalOnes) {
  EffectRig on({30, 30, 16, 16, 7, 7}, 1);
  Prepare(on, true, 0);
  on.Run(saver::BlindOn);
  on.Run(saver::BlindOn);  // rows 0 and 15
  for (int x = 0; x < 16; ++x) {
    EXPECT_EQ(on.window->Get(7 + x, 7), ImagePixel(x, 0));
    EXPECT_EQ(on.window->Get(7 + x, 7 + 15), ImagePixel(x, 15));
    EXPECT_EQ(on.window->Get(7 + x, 7 + 1), BackPixel(7 + x, 8));
  }
  EffectRig off({30, 30, 16, 16, 7, 7}, 1);
  Prepare(off, false, 0);
  off.Run(saver::BlindOff);
  off.Run(saver::BlindOff);  // columns 0 and 15
  for (int y = 0; y < 16; ++y) {
    EXPECT_EQ(off.window->Get(7, 7 + y), BackPixel(7, 7 + y));
    EXPECT_EQ(off.window->Get(7 + 15, 7 + y), BackPixel(22, 7 + y));
    EXPECT_EQ(off.window->Get(7 + 1, 7 + y), ImagePixel(1, y));
  }
}
