#include "saver/PictureMotion.h"

#include "picture/Resample.h"

namespace saver {

void PictureMotion::Start(picture::PixelImage copy, const picture::SourceRect& whole, const RECT& placed,
                          int durationMs, const RandomFn& random, DWORD now) {
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
  start_ = now;
  frozen_ = false;
  lastFrame_ = -1;
}

void PictureMotion::Stop() {
  frame_.Reset();
  copy_ = picture::PixelImage();
  frozen_ = false;
}

bool PictureMotion::Due(DWORD now) const {
  if (!Active() || frozen_) return false;
  return static_cast<long long>(Elapsed(now) / periodMs_) != lastFrame_;
}

void PictureMotion::Render(DWORD now) {
  if (!Active()) return;
  const DWORD elapsed = Elapsed(now);
  lastFrame_ = static_cast<long long>(elapsed / periodMs_);
  const int w = frame_.Width(), h = frame_.Height();
  const picture::PixelRect target = {reinterpret_cast<uint32_t*>(frame_.Bits()), w, h, w};
  GdiFlush();  // GDI has finished with the frame before its pixels are written
  picture::Resample(copy_, path_.MapAt(elapsed, w, h), target);
}

void PictureMotion::Freeze(DWORD now) {
  if (frozen_) return;
  frozenAt_ = now;
  frozen_ = true;
}

void PictureMotion::Resume(DWORD now) {
  if (!frozen_) return;
  start_ += now - frozenAt_;
  frozen_ = false;
}

void PictureMotion::SetRefreshRate(int hertz) { periodMs_ = 1000.0 / (hertz > 1 ? hertz : 60); }

}  // namespace saver
