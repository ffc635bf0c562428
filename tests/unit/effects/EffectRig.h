// A saver window in miniature for the effect tests: the screen, background,
// work and pattern bitmaps as DIB sections whose pixels the tests can read,
// a "window" bitmap that receives every flush, and an effect context wired
// to them. Pixels encode their own coordinates, so any misplaced row or
// column shows up in a comparison.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/Bitmap.h"
#include "saver/Sequencer.h"
#include "saver/effects/Effects.h"

namespace fxtest {

// A top-down DIB section on the program's canvas, with pixel access.
class Dib {
 public:
  Dib(int w, int h, int bpp, const std::vector<RGBQUAD>& colors = {});
  HDC dc() const { return canvas_.Dc(); }
  HBITMAP bitmap() const { return canvas_.Handle(); }
  int width() const { return canvas_.Width(); }
  int height() const { return canvas_.Height(); }
  uint32_t Get(int x, int y) const;
  void Set(int x, int y, uint32_t v);

 private:
  int bpp_;
  forms::Bitmap canvas_;
};

using PixelFn = std::function<uint32_t(int x, int y)>;

// 32-bit pixel values: picture pixel (x, y) and background pixel at client (x, y).
inline uint32_t ImagePixel(int x, int y) { return 0x400000u | (y & 0x7FF) << 11 | (x & 0x7FF); }
inline uint32_t BackPixel(int x, int y) { return 0x800000u | (y & 0x7FF) << 11 | (x & 0x7FF); }

// Colour table for 8-bit stages: black at 0 and white at 255, as in the
// system palette of a 256-colour display, distinct colours in between.
std::vector<RGBQUAD> TestPalette();
// 8-bit pixel indices: picture 1..120, background 128..247.
inline uint32_t ImageIndex(int x, int y) { return 1 + (x * 7 + y * 3) % 120; }
inline uint32_t BackIndex(int x, int y) { return 128 + (x * 5 + y * 11) % 120; }

struct Geometry {
  int CW, CH;  // client size
  int W, H;    // picture size
  int X, Y;    // picture position
};

class EffectRig {
 public:
  EffectRig(const Geometry& g, int coin, int bpp = 32);

  // The whole picture in its place on screen and window, as an erase starts.
  void ShowImage();
  // Background back into the picture's place on the screen only (for counting blind lines).
  void ClearImageRect();

  Geometry g;
  int bpp;
  std::unique_ptr<Dib> screen, back, work, pattern, window, image;
  forms::Bitmap strip;  // the mask strip

  // One call of the routine as the sequencer makes it: fresh effect
  // variables for the set-up call; then show, entered and intervals follow
  // the reports as the sequencer's state and timer would.
  void Run(saver::EffectRoutine routine);

  saver::EffectState state;
  saver::ShowState show = saver::ShowState::Appear;  // the sequencer's state: Appear or Erase
  bool entered = true;
  int randomValue = 0;  // what Random returns (modulo its bound)
  std::vector<int> intervals;  // every interval the timer was given
  std::vector<RECT> flushes;
  saver::EffectContext ctx;
  PixelFn imagePx, backPx;
};

}  // namespace fxtest
