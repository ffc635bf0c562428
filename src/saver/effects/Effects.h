// Transition effects of the saver window. Every routine is one step of a
// small state machine over EffectState: the first call (Begun still false)
// is the set-up, every later call draws one step into the screen bitmap and
// flushes the changed rectangle. Each call reports whether the effect is
// done and the interval it wants until its next step; the sequencer keeps
// the show's state and the timer, and decides what follows.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

#include "settings/EffectKind.h"
#include "settings/Keys.h"

namespace saver {

using settings::EffectKind;
using settings::kEffectKinds;
using settings::Normal, settings::Blind, settings::Scroll, settings::Stretch, settings::Slide,
    settings::HalfSlide, settings::Mesh, settings::Fade;
constexpr int kIdleInterval = 5;  // the sequencer's own timer interval, ms

// One set of variables serves whichever effect runs (only one runs at a time).
struct EffectState {
  bool Begun = false;   // the set-up call has run
  int Interval = kIdleInterval;  // ms between steps, chosen at the set-up
  int StepPixels = 0;   // pixels per step
  int Progress = 0;     // band half-extent, strip width or mask index
  int ScrollMode = 0;   // 0 Right, 1 Left, 2 Down, 3 Up
  int CurX = 0, CurY = 0;
  int HalfWidth = 0, HalfHeight = 0;
  // Blind: first line of the current pass, line being drawn, pass offset,
  // mirror shift and the extent of the lines (height or width).
  int PassStart = 0, Line = 0, PassOffset = 0, MirrorShift = 0, Extent = 0;
  int SideFlag = 0;
};

// What an effect step sees of the saver window.
struct EffectContext {
  HDC Screen = nullptr;   // ScreenBitmap: exactly what the window shows
  HDC Back = nullptr;     // BackBitmap: the background without the image
  HDC Work = nullptr;     // WorkBitmap: scratch
  HDC Pattern = nullptr;  // PatternBitmap: 8 x 8, one mask at a time
  HBITMAP PatternBitmap = nullptr;
  HDC MaskStrip = nullptr;  // the 136 x 16 one-bit mask strip (ImageMaterial)
  HDC Image = nullptr;      // the picture's bitmap
  HPALETTE Palette = nullptr;  // the picture's palette, or nullptr
  int W = 0, H = 0;         // picture size
  int X = 0, Y = 0;         // ImageLeft, ImageTop (client coordinates)
  int ClientWidth = 0, ClientHeight = 0;
  int EffectCoin = 0;
  int AppearSpeed = settings::key::ImageFadeInSpeed.saver;  // 0 slow .. 400 fast
  int EraseSpeed = settings::key::ImageFadeOutSpeed.saver;

  EffectState* State = nullptr;
  // Set while a step is only counted, not drawn (see RedrawsWholeState):
  // the primitives that draw the picture then leave the bitmaps alone;
  // restoring the background still happens.
  bool Quiet = false;

  std::function<void(const RECT& r)> Flush;   // copy r of Screen to the window
  std::function<int(int bound)> Random;       // uniform integer in [0, bound)
};

// What one call of an effect routine reports: whether the picture is
// complete (or gone), and the interval it wants before its next step.
struct EffectStep {
  bool Done = false;
  int NextInterval = kIdleInterval;
};

// The report of the call that completes an effect.
inline EffectStep Finished() { return {true, kIdleInterval}; }

using EffectRoutine = EffectStep (*)(EffectContext&);

// Speed value (0 slow .. 400 fast) to the base step interval in ms. Values
// outside 0..400 are clamped, so no interval of zero or less reaches the timer.
int BaseInterval(int speed);

// The routine of a kind; a kind outside 0..7 gives Blind.
EffectRoutine AppearRoutine(int kind);
EffectRoutine EraseRoutine(int kind);
// True when every step of the kind draws the picture's whole state afresh
// (a growing band, a sliding strip, a mask over the whole picture), so a
// late tick may count the steps it owes and draw only the last. Blind adds
// lines step by step and must draw them all.
bool RedrawsWholeState(int kind);
inline EffectStep AppearStep(EffectContext& c, int kind) { return AppearRoutine(kind)(c); }
inline EffectStep EraseStep(EffectContext& c, int kind) { return EraseRoutine(kind)(c); }

EffectStep NormalOn(EffectContext& c);
EffectStep BlindOn(EffectContext& c);
EffectStep ScrollOn(EffectContext& c);
EffectStep StretchOn(EffectContext& c);
EffectStep SlideOn(EffectContext& c);
EffectStep HalfSlideOn(EffectContext& c);
EffectStep MeshOn(EffectContext& c);
EffectStep FadeOn(EffectContext& c);

EffectStep NormalOff(EffectContext& c);
EffectStep BlindOff(EffectContext& c);
EffectStep ScrollOff(EffectContext& c);
EffectStep StretchOff(EffectContext& c);
EffectStep SlideOff(EffectContext& c);
EffectStep HalfSlideOff(EffectContext& c);
EffectStep MeshOff(EffectContext& c);
EffectStep FadeOff(EffectContext& c);

// The mask strip: 136 x 16, one bit per pixel (0 black, 1 white); the Fade
// band in rows 0..7, the Mesh band in rows 8..15, mask k in columns 8k..8k+7.
enum class MaskBand : int { Fade = 0, Mesh = 8 };
HBITMAP CreateMaskStrip();
int MaskThreshold(MaskBand band, int x, int y);  // mask k has pixel (x, y) set when threshold <= k

enum class MixDirection { In, Out };
// Masked mix of mask k: every pixel of target in Screen becomes the source
// pixel (direction In, where the mask is 1) or the Back pixel, with the
// mask aligned to the client origin; then target is flushed. The source is
// read from (0, 0) of `source`, target-sized.
void MaskedMix(EffectContext& c, MaskBand band, int k, MixDirection direction, HDC source,
               const RECT& target);

}  // namespace saver
