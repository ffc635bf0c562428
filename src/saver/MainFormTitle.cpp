// The title fade of the saver window: the stage is built on the set-up
// tick and mixed in or out through the Fade masks, one mask per step.
#include "saver/MainForm.h"
#include "saver/TitleOverlay.h"

// The title stands on the primary monitor alone. Its heights are those of a
// 96-DPI screen: on a scaled monitor it keeps the size the user chose.
void TMainForm::BeginTitle(const saver::TitleLine& line) {
  if (primary_) return;
  saver::TitleLine scaled = line;
  scaled.Height = Scale(line.Height);
  saver::BuildTitleOverlayInArea(scaled, drawing_->Back.Dc(), ImageArea(), titleOverlay_, titleRect_);
}

void TMainForm::TitleFrame(int k, saver::MixDirection direction) {
  if (titleOverlay_.Empty()) return;
  drawing_->MixTitle(k, direction, titleOverlay_.Dc(), titleRect_);
}

void TMainForm::EndTitle() { titleOverlay_.Reset(); }
