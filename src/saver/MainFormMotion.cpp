// The saver window's moving picture (PanZoom): the worker's copy is taken
// with the picture, the first frame is drawn into the picture before it
// appears, a frame is drawn on the timer ticks while it stands (one a
// refresh of the monitor at most), and the last frame stays in the picture
// for its erase.
#include "picture/All.h"
#include "saver/MainForm.h"

// Only a picture that lies wholly on its monitor moves.
void TMainForm::PrepareMotion(POINT at) {
  motion_.Stop();
  if (motionCopy_.Empty()) return;
  const SIZE size = ImageSize();
  const RECT placed = {at.x, at.y, at.x + size.cx, at.y + size.cy};
  if (placed.left >= 0 && placed.top >= 0 && placed.right <= ClientWidth() && placed.bottom <= ClientHeight())
    motion_.Prepare(std::move(motionCopy_), motionWhole_, placed, theme_.ImageOnDelay, random_);
  motionCopy_ = picture::PixelImage();
  if (motion_.Active()) BitBlt(shownPicture_->Canvas(), 0, 0, size.cx, size.cy, motion_.Frame(), 0, 0, SRCCOPY);
}

void TMainForm::RunMotion() {
  if (!motion_.Active()) return;
  forms::WindowDc dc(Handle());
  motion_.SetRefreshRate(GetDeviceCaps(dc.get(), VREFRESH));
  motion_.Run(saver::MotionClock());
}

void TMainForm::DrawMotionFrame() {
  const double now = saver::MotionClock();
  if (!drawing_ || !motion_.Due(now)) return;
  motion_.Render(now);
  const RECT& r = motion_.Placed();
  BitBlt(drawing_->Screen.Dc(), r.left, r.top, r.right - r.left, r.bottom - r.top, motion_.Frame(), 0, 0, SRCCOPY);
  drawing_->Flush(r);
}

void TMainForm::SettleMotion() {
  if (!motion_.Active()) return;
  const RECT& r = motion_.Placed();
  BitBlt(shownPicture_->Canvas(), 0, 0, r.right - r.left, r.bottom - r.top, motion_.Frame(), 0, 0, SRCCOPY);
  motion_.Stop();
}

void TMainForm::FreezeMotion() {
  motion_.Freeze(saver::MotionClock());
  for (auto& other : others_) other->FreezeMotion();
}

void TMainForm::ResumeMotion() {
  motion_.Resume(saver::MotionClock());
  for (auto& other : others_) other->ResumeMotion();
}
