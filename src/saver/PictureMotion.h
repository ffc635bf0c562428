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

class PictureMotion {
 public:
  // A move of `copy` lasting durationMs over the picture at `placed` (client
  // coordinates), which shows the part `whole` of the copy standing still;
  // it zooms in or out about a point `random` chooses. Without a copy, or
  // when GDI has no frame bitmap to give, nothing moves.
  void Start(picture::PixelImage copy, const picture::SourceRect& whole, const RECT& placed, int durationMs,
             const RandomFn& random, DWORD now);
  // Ends the move and lets go of the copy and the frame.
  void Stop();
  bool Active() const { return !frame_.Empty(); }

  // The frame for `now` is a refresh period on from the last one drawn.
  bool Due(DWORD now) const;
  // Resamples the frame for `now` (for the moment of a pause while paused).
  void Render(DWORD now);
  HDC Frame() const { return frame_.Dc(); }
  const RECT& Placed() const { return placed_; }

  void Freeze(DWORD now);
  void Resume(DWORD now);
  bool Frozen() const { return frozen_; }

  // The monitor's refresh rate in hertz (0 or 1: the usual 60).
  void SetRefreshRate(int hertz);

 private:
  DWORD Elapsed(DWORD now) const { return (frozen_ ? frozenAt_ : now) - start_; }

  picture::PixelImage copy_;
  forms::Bitmap frame_;
  MotionPath path_;
  RECT placed_ = {0, 0, 0, 0};
  DWORD start_ = 0, frozenAt_ = 0;
  bool frozen_ = false;
  double periodMs_ = 1000.0 / 60;
  long long lastFrame_ = -1;  // the number of the refresh period last drawn
};

}  // namespace saver
