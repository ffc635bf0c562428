// The saver window's moving picture (PanZoom): see saver/PictureMotion.h.
#include "picture/All.h"
#include "saver/MainForm.h"

void TMainForm::PrepareMotion(POINT at) {
  const SIZE size = ImageSize();
  motion_.Prepare(std::move(motionCopy_), motionWhole_, {at.x, at.y, at.x + size.cx, at.y + size.cy}, ClientSize(),
                  theme_.ImageOnDelay, random_, shownPicture_->Canvas());
  motionCopy_ = picture::PixelImage();
}

void TMainForm::RunMotion() {
  forms::WindowDc dc(Handle());
  motion_.Run(saver::MotionClock(), GetDeviceCaps(dc.get(), VREFRESH));
}

void TMainForm::DrawMotionFrame() {
  if (drawing_) motion_.DrawDue(saver::MotionClock(), *drawing_);
}

void TMainForm::SettleMotion() { motion_.Settle(shownPicture_->Canvas()); }

void TMainForm::FreezeMotion() {
  motion_.Freeze(saver::MotionClock());
  for (auto& other : others_) other->FreezeMotion();
}

void TMainForm::ResumeMotion() {
  motion_.Resume(saver::MotionClock());
  for (auto& other : others_) other->ResumeMotion();
}
