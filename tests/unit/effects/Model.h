// The reference the effect tests compare with: what the screen bitmap and
// the window show after each step, written from the effect tables in
// plain arrays, plus the rectangles each step flushes. Every effect model
// is a list of steps; the last one is the step that ends the effect.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "EffectRig.h"

namespace fxtest {

class Model {
 public:
  explicit Model(const EffectRig& rig);

  // Picture rows src with their top-left corner at (x, y), clipped to the client area.
  void Draw(const RECT& src, int x, int y);
  void DrawImage(int x, int y) { Draw(RECT{0, 0, W, H}, x, y); }
  void Restore(const RECT& r);
  // The whole picture scaled into dst, by GDI's colour-on-colour stretch.
  void Stretch(const RECT& dst);
  // Mask k of the Fade (band 0) or Mesh (band 8) thresholds, anchored at the client origin.
  void Mix(int band, int k, bool in, const RECT& r);
  void Flush(const RECT& r);

  static int Threshold(int band, int x, int y);

  int CW, CH, W, H, X, Y;
  RECT img;
  std::vector<uint32_t> screen, window;
  std::vector<RECT> flushes;

 private:
  void Put(int x, int y, uint32_t v) {
    if (x >= 0 && y >= 0 && x < CW && y < CH) screen[y * CW + x] = v;
  }
  const EffectRig& rig_;
};

using ModelStep = std::function<void(Model&)>;
using Steps = std::vector<ModelStep>;
using Routine = saver::EffectRoutine;

// Runs the routine from its set-up to its end, comparing the rig with
// the model after every step: whole screen bitmap, whole window bitmap,
// the flushed rectangles, the state hand-over at the end.
::testing::AssertionResult RunEffect(EffectRig& rig, Routine routine, const Steps& steps,
                                     int expectedInterval);

}  // namespace fxtest
