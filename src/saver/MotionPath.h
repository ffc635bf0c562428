// The slow move of a picture while it stands: a zoom between 1.0 and
// kMotionZoom of its placed size (in or back out) with a drift toward, or
// from, a point chosen at random, at constant speed from the moment the
// picture has appeared until its erase starts. Every frame is a pure
// function of the time since the start, so a late frame shows where the
// move is by then and never slows it.
#pragma once
#include "picture/Resample.h"

namespace saver {

// The largest zoom, relative to the size the picture is placed at.
constexpr double kMotionZoom = 1.15;

// The part of the copy a frame shows, in its pixels.
struct MotionView {
  double x = 0, y = 0, w = 0, h = 0;
};

class MotionPath {
 public:
  MotionPath() = default;
  // A move over a copy of sourceW x sourceH pixels lasting durationMs.
  // zoomIn: from the whole copy to a part kMotionZoom times smaller around
  // the point (pointX, pointY), given as shares 0..1 of the copy's width
  // and height (held so the part stays inside); otherwise the other way.
  MotionPath(int sourceW, int sourceH, bool zoomIn, double pointX, double pointY, int durationMs);

  // The view ms milliseconds after the start (held at both ends).
  MotionView At(double ms) const;
  // How a frame of frameW x frameH shows the view at ms.
  picture::SampleMap MapAt(double ms, int frameW, int frameH) const;
  int Duration() const { return duration_; }

 private:
  MotionView from_, to_;
  int duration_ = 0;
};

}  // namespace saver
