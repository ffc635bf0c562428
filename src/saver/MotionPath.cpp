#include "saver/MotionPath.h"

#include <algorithm>

namespace saver {

namespace {

MotionView Around(const MotionView& whole, double zoom, double pointX, double pointY) {
  MotionView v;
  v.w = whole.w / zoom;
  v.h = whole.h / zoom;
  v.x = whole.x + std::min(std::max(pointX * whole.w - v.w / 2, 0.0), whole.w - v.w);
  v.y = whole.y + std::min(std::max(pointY * whole.h - v.h / 2, 0.0), whole.h - v.h);
  return v;
}

double Between(double a, double b, double share) { return a + (b - a) * share; }

}  // namespace

MotionPath::MotionPath(const MotionView& whole, bool zoomIn, double pointX, double pointY, int durationMs)
    : duration_(std::max(durationMs, 1)) {
  const MotionView part = Around(whole, kMotionZoom, pointX, pointY);
  from_ = zoomIn ? whole : part;
  to_ = zoomIn ? part : whole;
}

// Both ends lie inside whole, and so does every view between them.
MotionView MotionPath::At(double ms) const {
  const double share = std::min(std::max(ms / duration_, 0.0), 1.0);
  return {Between(from_.x, to_.x, share), Between(from_.y, to_.y, share), Between(from_.w, to_.w, share),
          Between(from_.h, to_.h, share)};
}

picture::SampleMap MotionPath::MapAt(double ms, int frameW, int frameH) const {
  return picture::MapOf(At(ms), frameW, frameH);
}

}  // namespace saver
