// The title fade of the saver window: the stage is built on the set-up
// tick and mixed in or out through the Fade masks, one mask per tick.
#include "saver/MainForm.h"
#include "saver/Title.h"

void TMainForm::BeginTitle(const saver::TitleLine& line) {
  saver::BuildTitleStage(line, BackBitmap.Dc(), ClientSize(), TitleStage, TitleRect);
}

void TMainForm::TitleFrame(int k, saver::MixDirection direction) {
  if (TitleStage.Empty()) return;
  saver::EffectContext c = MakeEffectContext();
  saver::MaskedMix(c, saver::MaskBand::Fade, k, direction, TitleStage.Dc(), TitleRect);
}

void TMainForm::EndTitle() { TitleStage.Reset(); }
