// The surfaces of the saver window: the bitmaps the show is drawn on, and the
// effect context built from them once per picture.
//
//   Back    the background without the picture
//   Screen  exactly what the window shows; effects draw here, then flush
//   Work    scratch for the masked mix
//   Pattern 8 x 8, one mask at a time
//   MaskStrip  the 136 x 16 one-bit strip of Fade and Mesh masks
#pragma once
#include <windows.h>

#include <functional>

#include "forms/Bitmap.h"
#include "saver/effects/Effects.h"
#include "library/Random.h"

namespace saver {

using library::RandomFn;

class Surfaces {
 public:
  Surfaces(int appearSpeed, int eraseSpeed, RandomFn random);
  ~Surfaces();
  Surfaces(const Surfaces&) = delete;
  Surfaces& operator=(const Surfaces&) = delete;

  // The window that flushes go to (nullptr: none).
  void SetWindow(HWND window) { window_ = window; }
  // Or a DC standing in for the window (tests, benchmarks).
  void FlushTo(HDC dc) { flushDc_ = dc; }
  // After Back has been built (it may be larger than the client when a
  // tiled picture does not divide it): Screen as its copy, Pattern, a black Work.
  void BuildFromBack(SIZE client);
  void Reset();
  // Gives Back, Screen and Work a copy of the picture's palette (nullptr:
  // the default one). The copy is this object's own, so the picture may go
  // while its palette is still selected here.
  void UsePalette(HPALETTE palette);

  // The picture the next effects show, at `at` in client coordinates, drawn
  // with the palette last given to UsePalette.
  void PlacePicture(HDC image, SIZE size, POINT at, int effectCoin);
  // The set-up call of an effect on the staged picture.
  EffectStep BeginEffect(bool appear, int kind);
  // The next `steps` steps of the running effect as one tick: the screen
  // bitmap and the window end exactly as after each step in turn, but the
  // window is drawn once, and a kind that redraws its whole state draws
  // only the last step. Stops early when the effect ends.
  EffectStep EffectSteps(bool appear, int kind, int steps);
  // Mask k of the Fade band mixes `source` into target (the title fades).
  void MixTitle(int k, MixDirection direction, HDC source, const RECT& target);

  // The window's client part of Screen becomes the background.
  void KeepScreenAsBackground();
  // The picture goes at once: Screen shows the background again, and so
  // does the window.
  void ShowBackground();
  // Drawn on the window after every paint and flush, over the part of it
  // that was drawn: what stands over the show without entering Screen
  // (the caption, the pause mark).
  void SetOverlay(std::function<void(HDC target, const RECT& drawn)> overlay) { overlay_ = std::move(overlay); }
  void Paint(HDC dc) const;
  void Flush(const RECT& r);

  forms::Bitmap Back, Screen, Work, Pattern, MaskStrip;

 private:
  EffectContext BaseContext();

  void SelectOwnPalette();

  forms::PaletteHandle palette_;  // selected into Back, Screen and Work
  const int appearSpeed_, eraseSpeed_;
  RandomFn random_;
  HWND window_ = nullptr;
  HDC flushDc_ = nullptr;
  std::function<void(HDC, const RECT&)> overlay_;
  SIZE client_ = {0, 0};
  EffectState state_;
  EffectContext picture_;
  // While a tick runs several steps, their flushes gather here until its
  // last drawing step (or its end).
  bool holdFlushes_ = false;
  RECT held_ = {0, 0, 0, 0};
};

}  // namespace saver
