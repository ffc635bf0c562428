// The title fade of the saver window: the stage is built on the set-up
// tick and mixed in or out through the Fade masks, one mask per step.
#include "saver/MainForm.h"
#include "saver/TitleStage.h"

void TMainForm::BeginTitle(const saver::TitleLine& line) {
  saver::BuildTitleStageInArea(line, Stage->Back.Dc(), ImageArea(), TitleStage, TitleRect);
}

void TMainForm::TitleFrame(int k, saver::MixDirection direction) {
  if (TitleStage.Empty()) return;
  Stage->MixTitle(k, direction, TitleStage.Dc(), TitleRect);
}

void TMainForm::EndTitle() { TitleStage.Reset(); }
