// Transition effects of the saver window. Every routine is one step of a
// small state machine: the call that finds StateEntered set is the set-up,
// every later call draws one step into the screen bitmap and flushes the
// changed rectangle, and the call that completes the picture advances
// ShowState, sets StateEntered and puts the timer back to 5 ms.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

namespace saver {

enum EffectKind : int { Normal = 0, Blind, Scroll, Stretch, Slide, HalfSlide, Mesh, Fade };
constexpr int kEffectKinds = 8;
constexpr int kIdleInterval = 5;  // the sequencer's own timer interval, ms

// One set of variables serves whichever effect runs (only one runs at a time).
struct EffectState {
  int EffectStep = 0;   // pixels per step
  int Progress = 0;     // band half-extent, strip width or mask index
  int ScrollMode = 0;   // 0 Right, 1 Left, 2 Down, 3 Up
  int CurX = 0, CurY = 0;
  int HalfWidth = 0, HalfHeight = 0;
  int PassStart = 0, Line = 0, A = 0, S = 0, Extent = 0;  // Blind: P, L, a, s, E
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
  int AppearInterval = 5;   // 405 - ImageFadeInSpeed, clamped to at least 5
  int EraseInterval = 5;    // 405 - ImageFadeOutSpeed, clamped likewise

  uint8_t* ShowState = nullptr;
  bool* StateEntered = nullptr;
  EffectState* State = nullptr;

  std::function<void(int ms)> SetInterval;    // Timer2's interval
  std::function<void(const RECT& r)> Flush;   // copy r of Screen to the window
  std::function<int(int bound)> Random;       // uniform integer in [0, bound)

  // Ends the running effect: next state, StateEntered, interval back to 5 ms.
  void End(bool resetInterval = true) const {
    ++*ShowState;
    *StateEntered = true;
    if (resetInterval && SetInterval) SetInterval(kIdleInterval);
  }
};

// Speed value (0 slow .. 400 fast) to the base step interval in ms. Values
// outside 0..400 are clamped, so no interval of zero or less reaches the timer.
int BaseInterval(int speed);

// Dispatch on the kind; a kind outside 0..7 runs Blind.
void AppearStep(EffectContext& c, int kind);
void EraseStep(EffectContext& c, int kind);

void NormalOn(EffectContext& c);
void BlindOn(EffectContext& c);
void ScrollOn(EffectContext& c);
void StretchOn(EffectContext& c);
void SlideOn(EffectContext& c);
void HalfSlideOn(EffectContext& c);
void MeshOn(EffectContext& c);
void FadeOn(EffectContext& c);

void NormalOff(EffectContext& c);
void BlindOff(EffectContext& c);
void ScrollOff(EffectContext& c);
void StretchOff(EffectContext& c);
void SlideOff(EffectContext& c);
void HalfSlideOff(EffectContext& c);
void MeshOff(EffectContext& c);
void FadeOff(EffectContext& c);

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
