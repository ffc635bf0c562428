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
using MotionView = picture::SourceRect;

class MotionPath {
 public:
  MotionPath() = default;
  // A move lasting durationMs over `whole`, the part of a copy the picture
  // shows standing still. zoomIn: from whole to a part kMotionZoom times
  // smaller around the point (pointX, pointY), given as shares 0..1 of
  // whole's width and height (held so the part stays inside whole);
  // otherwise the other way.
  MotionPath(const MotionView& whole, bool zoomIn, double pointX, double pointY, int durationMs);

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
