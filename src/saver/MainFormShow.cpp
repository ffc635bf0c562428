// The saver window as the sequencer's host: the background, the picture
// and the effect steps on the stage.
#include "picture/All.h"
#include "picture/Loader.h"
#include "saver/Background.h"
#include "saver/MainForm.h"

namespace key = settings::key;

// The stage's Back from the theme's background keys, then the rest of the
// stage from it.
void TMainForm::BuildBackground() {
  saver::BackgroundChoice choice;
  choice.Kind = theme_.BackGround;
  choice.Color = theme_.BackColor;
  choice.FileName = theme_.BackFileName;
  saver::BuildBackBitmap(choice, ClientSize(), *shownPicture_, drawing_->Back,
                         previewParent_ ? nullptr : &monitors_.Virtual);
  drawing_->BuildFromBack(ClientSize());
  ApplyImagePalette();
}

void TMainForm::SetInterval(int ms) { Timer2.SetInterval(ms > 0 ? static_cast<UINT>(ms) : 1); }

SIZE TMainForm::ClientSize() const { return {ClientWidth(), ClientHeight()}; }

// Pictures and the title stand on the primary monitor; the background
// fills the rest of the window.
RECT TMainForm::ImageArea() const {
  if (previewParent_) return {0, 0, ClientWidth(), ClientHeight()};
  return saver::PrimaryInClient(monitors_);
}

// The one place a picture of the show is loaded: on the loader's worker,
// fitted to the image area when the theme asks (ImageFit).
void TMainForm::StartImageLoad(const std::string& name) {
  picture::LoadRequest request;
  request.fileName = name;
  if (theme_.ImageFit) {
    const RECT area = ImageArea();
    request.fitTo = {area.right - area.left, area.bottom - area.top};
  }
  loadName_ = name;
  loadTicket_ = pictureWorker_->Start(std::move(request));
}

// Only the finished bitmap is taken over on this thread.
saver::ImageLoad TMainForm::TakeImageLoad() {
  std::optional<picture::LoadResult> result = pictureWorker_->Take(loadTicket_);
  if (!result) return saver::ImageLoad::Running;
  if (result->error != 0 || !result->picture.bitmap || loadName_.empty()) return saver::ImageLoad::Failed;
  shownPicture_->Adopt(loadName_, std::move(result->picture), result->paletteMade);
  return saver::ImageLoad::Ready;
}

SIZE TMainForm::ImageSize() const { return {shownPicture_->Width(), shownPicture_->Height()}; }

void TMainForm::ApplyImagePalette() {
  drawing_->UsePalette(shownPicture_->Empty() ? nullptr : shownPicture_->Palette());
}

void TMainForm::PlacePicture(POINT at, int effectCoin) {
  drawing_->PlacePicture(shownPicture_->Canvas(), ImageSize(), at, effectCoin);
}

saver::EffectStep TMainForm::BeginEffect(bool appear, int kind) {
  return drawing_->BeginEffect(appear, kind);
}

saver::EffectStep TMainForm::EffectSteps(bool appear, int kind, int steps) {
  return drawing_->EffectSteps(appear, kind, steps);
}

void TMainForm::KeepScreenAsBackground() { drawing_->KeepScreenAsBackground(); }
