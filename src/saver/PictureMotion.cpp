#include "saver/PictureMotion.h"

#include "picture/Resample.h"

namespace saver {

double MotionClock() {
  static const double perMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / perMs;
}

void PictureMotion::Prepare(picture::PixelImage copy, const picture::SourceRect& whole, const RECT& placed,
                            int durationMs, const RandomFn& random) {
  Stop();
  const int w = placed.right - placed.left, h = placed.bottom - placed.top;
  if (copy.Empty() || w <= 0 || h <= 0) return;
  frame_.CreateDib(w, h, 32);
  if (frame_.Empty() || !frame_.Bits()) return Stop();
  const bool zoomIn = random(2) == 0;
  const double pointX = random(1001) / 1000.0, pointY = random(1001) / 1000.0;
  path_ = MotionPath(whole, zoomIn, pointX, pointY, durationMs);
  copy_ = std::move(copy);
  placed_ = placed;
  frozen_ = running_ = false;
  start_ = 0;
  Render(0);
}

void PictureMotion::Run(double now) {
  if (!Active()) return;
  start_ = now;
  running_ = true;
  lastFrame_ = 0;  // the first frame is on show
}

void PictureMotion::Stop() {
  frame_.Reset();
  copy_ = picture::PixelImage();
  frozen_ = running_ = false;
}

bool PictureMotion::Due(double now) const {
  if (!Active() || !running_ || frozen_) return false;
  return static_cast<long long>(Elapsed(now) / periodMs_) != lastFrame_;
}

void PictureMotion::Render(double now) {
  if (!Active()) return;
  const double elapsed = running_ ? Elapsed(now) : 0;
  lastFrame_ = static_cast<long long>(elapsed / periodMs_);
  const int w = frame_.Width(), h = frame_.Height();
  const picture::PixelRect target = {reinterpret_cast<uint32_t*>(frame_.Bits()), w, h, w};
  GdiFlush();  // GDI has finished with the frame before its pixels are written
  picture::Resample(copy_, path_.MapAt(elapsed, w, h), target);
}

void PictureMotion::Freeze(double now) {
  if (frozen_) return;
  frozenAt_ = now;
  frozen_ = true;
}

void PictureMotion::Resume(double now) {
  if (!frozen_) return;
  start_ += now - frozenAt_;
  frozen_ = false;
}

void PictureMotion::SetRefreshRate(int hertz) { periodMs_ = 1000.0 / (hertz > 1 ? hertz : 60); }

}  // namespace saver
