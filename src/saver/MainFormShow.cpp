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
  choice.Kind = Settings.BackGround;
  choice.Color = Settings.BackColor;
  choice.FileName = Settings.BackFileName;
  saver::BuildBackBitmap(choice, ClientSize(), *Image, Stage->Back,
                         previewParent_ ? nullptr : &layout_.Virtual);
  Stage->BuildFromBack(ClientSize());
  ApplyImagePalette();
}

void TMainForm::SetInterval(int ms) { Timer2.SetInterval(ms > 0 ? static_cast<UINT>(ms) : 1); }

SIZE TMainForm::ClientSize() const { return {ClientWidth(), ClientHeight()}; }

// Pictures and the title stand on the primary monitor; the background
// fills the rest of the window.
RECT TMainForm::ImageArea() const {
  if (previewParent_) return {0, 0, ClientWidth(), ClientHeight()};
  return saver::PrimaryInClient(layout_);
}

void TMainForm::ReadImageEntry(int n, std::string& image, std::string& wave) {
  image = Settings.Entry(key::Image, n);
  wave = Settings.Entry(key::Wave, n);
}

// The one place a picture of the show is loaded: on the loader's worker,
// fitted to the image area when the theme asks (ImageFit).
void TMainForm::StartImageLoad(const std::string& name) {
  picture::LoadRequest request;
  request.fileName = name;
  if (Settings.ImageFit) {
    const RECT area = ImageArea();
    request.fitTo = {area.right - area.left, area.bottom - area.top};
  }
  loadName_ = name;
  loadTicket_ = Loader->Start(std::move(request));
}

// Only the finished bitmap is taken over on this thread.
saver::ImageLoad TMainForm::TakeImageLoad() {
  std::optional<picture::LoadResult> result = Loader->Take(loadTicket_);
  if (!result) return saver::ImageLoad::Running;
  if (result->error != 0 || !result->picture.bitmap || loadName_.empty()) return saver::ImageLoad::Failed;
  // The old picture's palette goes with it: let no bitmap hold it then.
  Stage->UsePalette(nullptr);
  Image->Adopt(loadName_, std::move(result->picture), result->paletteMade);
  return saver::ImageLoad::Ready;
}

SIZE TMainForm::ImageSize() const { return {Image->Width(), Image->Height()}; }

void TMainForm::ApplyImagePalette() {
  Stage->UsePalette(Image->Empty() ? nullptr : Image->Palette());
}

void TMainForm::StageImage(POINT at, int effectCoin) {
  Stage->StageImage(Image->Canvas(), Image->Empty() ? nullptr : Image->Palette(), ImageSize(), at,
                    effectCoin);
}

saver::EffectStep TMainForm::BeginEffect(bool appear, int kind) {
  return Stage->BeginEffect(appear, kind);
}

saver::EffectStep TMainForm::EffectSteps(bool appear, int kind, int steps) {
  return Stage->EffectSteps(appear, kind, steps);
}

void TMainForm::KeepScreenAsBackground() { Stage->KeepScreenAsBackground(); }
