// Placements the geometric effect tests run through, and the end state
// every effect must leave.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "Model.h"

namespace fxtest {

struct Placement {
  Geometry g;
  const char* name;
};

// A 40 x 30 client area with pictures centred, off-centre on either side,
// larger than the window, and smaller than one step.
inline const std::vector<Placement>& Placements() {
  static const std::vector<Placement> all = {
      {{40, 30, 17, 11, 11, 9}, "centred, odd size"},
      {{40, 30, 16, 12, 12, 9}, "centred, even size"},
      {{40, 30, 13, 9, 24, 18}, "below and right of the centre"},
      {{40, 30, 13, 9, 2, 1}, "above and left of the centre"},
      {{40, 30, 50, 36, -5, -3}, "larger than the window"},
      {{40, 30, 1, 1, 7, 7}, "one pixel"},
      {{40, 30, 7, 5, 20, 3}, "smaller than a step"},
      {{40, 30, 3, 2, 0, 0}, "in the corner"},
  };
  return all;
}

inline std::string Label(const char* routine, const Placement& p, int coin, int flag = -1) {
  std::string s = std::string(routine) + ", " + p.name + ", coin " + std::to_string(coin);
  if (flag >= 0) s += ", side " + std::to_string(flag);
  return s;
}

// After an appear effect: the picture in its place and the background elsewhere,
// on screen and window; after an erase effect: the background everywhere.
inline ::testing::AssertionResult EndState(const EffectRig& s, bool appear) {
  for (int y = 0; y < s.g.CH; ++y)
    for (int x = 0; x < s.g.CW; ++x) {
      const bool inImage = appear && x >= s.g.X && x < s.g.X + s.g.W && y >= s.g.Y && y < s.g.Y + s.g.H;
      const uint32_t want = inImage ? s.imagePx(x - s.g.X, y - s.g.Y) : s.backPx(x, y);
      if (s.screen->Get(x, y) != want || s.window->Get(x, y) != want)
        return ::testing::AssertionFailure() << "end state wrong at (" << x << "," << y << ")";
    }
  return ::testing::AssertionSuccess();
}

// Prepares a rig for an appear (background only) or erase (picture shown).
inline void Prepare(EffectRig& s, bool appear, int flag) {
  s.show = appear ? saver::ShowState::Appear : saver::ShowState::Erase;
  s.randomValue = flag ? 37 : 42;  // Random(100) mod 2 gives the side flag
  s.ctx.AppearSpeed = 405 - 5;
  s.ctx.EraseSpeed = 405 - 9;
  if (!appear) s.ShowImage();
}

// An effect's appear and erase routines (named <effect>On and <effect>Off)
// through every placement and both coins, side 0: each step as the model
// for that case says, at the given step interval, and the end state.
using CaseModel = std::function<Steps(bool appear, const Geometry& g, int coin)>;
inline void ExpectEveryPlacement(const std::string& effect, Routine on, Routine off, const CaseModel& model,
                                 int interval) {
  for (bool appear : {true, false})
    for (const auto& p : Placements())
      for (int coin : {0, 1}) {
        EffectRig st(p.g, coin);
        Prepare(st, appear, 0);
        const std::string what = Label((effect + (appear ? "On" : "Off")).c_str(), p, coin);
        EXPECT_TRUE(RunEffect(st, appear ? on : off, model(appear, p.g, coin), interval)) << what;
        EXPECT_TRUE(EndState(st, appear)) << what;
      }
}

}  // namespace fxtest
