#include "saver/MotionPath.h"

#include <algorithm>

namespace saver {

namespace {

MotionView Around(int sourceW, int sourceH, double zoom, double pointX, double pointY) {
  MotionView v;
  v.w = sourceW / zoom;
  v.h = sourceH / zoom;
  v.x = std::min(std::max(pointX * sourceW - v.w / 2, 0.0), sourceW - v.w);
  v.y = std::min(std::max(pointY * sourceH - v.h / 2, 0.0), sourceH - v.h);
  return v;
}

double Between(double a, double b, double share) { return a + (b - a) * share; }

}  // namespace

MotionPath::MotionPath(int sourceW, int sourceH, bool zoomIn, double pointX, double pointY, int durationMs)
    : duration_(std::max(durationMs, 1)) {
  const MotionView whole = {0, 0, static_cast<double>(sourceW), static_cast<double>(sourceH)};
  const MotionView part = Around(sourceW, sourceH, kMotionZoom, pointX, pointY);
  from_ = zoomIn ? whole : part;
  to_ = zoomIn ? part : whole;
}

// Both ends lie inside the copy, and so does every view between them.
MotionView MotionPath::At(double ms) const {
  const double share = std::min(std::max(ms / duration_, 0.0), 1.0);
  return {Between(from_.x, to_.x, share), Between(from_.y, to_.y, share), Between(from_.w, to_.w, share),
          Between(from_.h, to_.h, share)};
}

picture::SampleMap MotionPath::MapAt(double ms, int frameW, int frameH) const {
  const MotionView v = At(ms);
  picture::SampleMap map;
  map.originX = v.x;
  map.originY = v.y;
  map.stepX = v.w / frameW;
  map.stepY = v.h / frameH;
  return map;
}

}  // namespace saver
