// The picture moving while it stands, on one monitor (PanZoom). Each frame
// is resampled from the copy the loader's worker made into a 32-bit frame
// bitmap the picture's size, for the time since the move began: the move
// runs on the clock, so a late frame shows where the move is by then. At
// most one frame is due per refresh of the monitor. A pause stops the clock
// and the frame stays where it is until the move goes on.
//
// The window calls Prepare when it places the picture (the first frame goes
// into the picture, so it appears as the move begins), Run when its appear
// effect has ended, DrawDue on its timer ticks and Settle when its erase
// starts (the last frame goes into the picture, so the erase starts there).
#pragma once
#include <windows.h>

#include "forms/Bitmap.h"
#include "picture/PixelImage.h"
#include "saver/MotionPath.h"
#include "saver/Playlist.h"
#include "saver/Surfaces.h"

namespace saver {

// Milliseconds of the performance counter: the move's clock, finer than
// the tick count's 10-16 ms steps, which would show as uneven steps.
double MotionClock();

class PictureMotion {
 public:
  // A move of `copy` lasting durationMs over the picture drawn in `picture`
  // and placed at `placed` (client coordinates), which shows the part
  // `whole` of the copy standing still; it zooms in or out about a point
  // `random` chooses. Only a picture wholly inside `client` moves; without
  // a copy, or when GDI has no frame bitmap to give, nothing moves.
  void Prepare(picture::PixelImage copy, const picture::SourceRect& whole, const RECT& placed, SIZE client,
               int durationMs, const RandomFn& random, HDC picture);
  // The move starts now, a frame a refresh of a monitor of `hertz` (0 or 1: 60).
  void Run(double now, int hertz);
  // Draws the frame for `now` onto the stage's screen and the window when
  // a refresh period has passed since the last one.
  void DrawDue(double now, Surfaces& stage);
  // The last frame into `picture`; the move ends.
  void Settle(HDC picture);
  bool Active() const { return !frame_.Empty(); }

  void Freeze(double now);
  void Resume(double now);

  // Frames drawn by DrawDue since Run (for benchmarks).
  int FramesDrawn() const { return framesDrawn_; }

 private:
  double Elapsed(double now) const { return (frozen_ ? frozenAt_ : now) - start_; }
  void Render(double elapsed);
  void Stop();

  picture::PixelImage copy_;
  forms::Bitmap frame_;
  MotionPath path_;
  RECT placed_ = {0, 0, 0, 0};
  double start_ = 0, frozenAt_ = 0;  // ms of MotionClock
  bool frozen_ = false;
  bool running_ = false;
  double periodMs_ = 1000.0 / 60;
  long long lastFrame_ = -1;  // the number of the refresh period last drawn
  int framesDrawn_ = 0;
};

}  // namespace saver
