// The frames of a picture moving while it stands, on one monitor. Each is
// resampled from the copy the loader's worker made into a 32-bit frame
// bitmap the picture's size, for the time since the move began: the move
// runs on the clock, so a late frame shows where the move is by then. At
// most one frame is due per refresh of the monitor. A pause stops the clock
// and the frame stays where it is until the move goes on.
#pragma once
#include <windows.h>

#include "forms/Bitmap.h"
#include "picture/PixelImage.h"
#include "saver/MotionPath.h"
#include "saver/Playlist.h"

namespace saver {

// Milliseconds of the performance counter: the move's clock, finer than
// the tick count's 10-16 ms steps, which would show as uneven steps.
double MotionClock();

class PictureMotion {
 public:
  // A move of `copy` lasting durationMs over the picture at `placed` (client
  // coordinates), which shows the part `whole` of the copy standing still;
  // it zooms in or out about a point `random` chooses. The first frame is
  // rendered at once (the picture appears as it); the clock waits for Run.
  // Without a copy, or when GDI has no frame bitmap to give, nothing moves.
  void Prepare(picture::PixelImage copy, const picture::SourceRect& whole, const RECT& placed, int durationMs,
               const RandomFn& random);
  // The move starts now.
  void Run(double now);
  // Ends the move and lets go of the copy and the frame.
  void Stop();
  bool Active() const { return !frame_.Empty(); }

  // The move runs and the frame for `now` is a refresh period on from the last one drawn.
  bool Due(double now) const;
  // Resamples the frame for `now` (for the moment of a pause while paused).
  void Render(double now);
  HDC Frame() const { return frame_.Dc(); }
  const RECT& Placed() const { return placed_; }

  void Freeze(double now);
  void Resume(double now);
  bool Frozen() const { return frozen_; }

  // The monitor's refresh rate in hertz (0 or 1: the usual 60).
  void SetRefreshRate(int hertz);

 private:
  double Elapsed(double now) const { return (frozen_ ? frozenAt_ : now) - start_; }

  picture::PixelImage copy_;
  forms::Bitmap frame_;
  MotionPath path_;
  RECT placed_ = {0, 0, 0, 0};
  double start_ = 0, frozenAt_ = 0;  // ms of MotionClock
  bool frozen_ = false;
  bool running_ = false;
  double periodMs_ = 1000.0 / 60;
  long long lastFrame_ = -1;  // the number of the refresh period last drawn
};

}  // namespace saver
