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
                            SIZE client, int durationMs, const RandomFn& random, HDC picture) {
  Stop();
  const int w = placed.right - placed.left, h = placed.bottom - placed.top;
  const bool inside = placed.left >= 0 && placed.top >= 0 && placed.right <= client.cx && placed.bottom <= client.cy;
  if (copy.Empty() || w <= 0 || h <= 0 || !inside) return;
  frame_.CreateDib(w, h, 32);
  if (frame_.Empty() || !frame_.Bits()) return Stop();
  const bool zoomIn = random(2) == 0;
  const double pointX = random(1001) / 1000.0, pointY = random(1001) / 1000.0;
  path_ = MotionPath(whole, zoomIn, pointX, pointY, durationMs);
  copy_ = std::move(copy);
  placed_ = placed;
  Render(0);
  BitBlt(picture, 0, 0, w, h, frame_.Dc(), 0, 0, SRCCOPY);
}

void PictureMotion::Run(double now, int hertz) {
  if (!Active()) return;
  periodMs_ = 1000.0 / (hertz > 1 ? hertz : 60);
  start_ = now;
  if (frozen_) frozenAt_ = now;  // a picture that appears during a pause waits at its start
  running_ = true;
  lastFrame_ = 0;  // the first frame is on show
  framesDrawn_ = 0;
}

void PictureMotion::DrawDue(double now, Surfaces& stage) {
  if (!Active() || !running_ || frozen_) return;
  const double elapsed = Elapsed(now);
  const long long frame = static_cast<long long>(elapsed / periodMs_);
  if (frame == lastFrame_) return;
  lastFrame_ = frame;
  Render(elapsed);
  const int w = frame_.Width(), h = frame_.Height();
  BitBlt(stage.Screen.Dc(), placed_.left, placed_.top, w, h, frame_.Dc(), 0, 0, SRCCOPY);
  stage.Flush(placed_);
  ++framesDrawn_;
}

void PictureMotion::Settle(HDC picture) {
  if (!Active()) return;
  BitBlt(picture, 0, 0, frame_.Width(), frame_.Height(), frame_.Dc(), 0, 0, SRCCOPY);
  Stop();
}

void PictureMotion::Render(double elapsed) {
  const int w = frame_.Width(), h = frame_.Height();
  const picture::PixelRect target = {reinterpret_cast<uint32_t*>(frame_.Bits()), w, h, w};
  GdiFlush();  // GDI has finished with the frame before its pixels are written
  picture::Resample(copy_, path_.MapAt(elapsed, w, h), target);
}

void PictureMotion::Stop() {
  frame_.Reset();
  copy_ = picture::PixelImage();
  frozen_ = running_ = false;
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

}  // namespace saver
