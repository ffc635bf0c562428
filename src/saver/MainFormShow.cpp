// The saver window as the sequencer's host: the background, the picture
// and the effect steps on the stage.
#include "picture/All.h"
#include "picture/Loader.h"
#include "saver/Background.h"
#include "saver/MainForm.h"

namespace key = settings::key;

// The background from the theme's keys. A picture is loaded on the worker,
// like the show's: until it is tiled in, the window shows the theme's colour,
// answers input, and the show waits.
void TMainForm::BuildBackground() {
  saver::BackgroundChoice choice;
  choice.Kind = theme_.BackGround;
  choice.Color = theme_.BackColor;
  choice.FileName = theme_.BackFileName;
  saver::BuildBackBitmap(choice, ClientSize(), drawing_->Back, previewParent_ ? nullptr : &monitor_);
  drawing_->BuildFromBack(ClientSize());
  if (choice.Kind != saver::kBackImage) return;
  backgroundPending_ = true;
  if (!pictureWorker_) return TakeBackground();
  picture::LoadRequest request;
  request.fileName = choice.FileName;
  request.cropTo = ClientSize();  // a camera photo is cut down on the worker, not here
  loadTicket_ = pictureWorker_->Start(std::move(request));
}

// The background picture tiled in once it is loaded (black when it cannot
// be); then the show starts.
void TMainForm::TakeBackground() {
  std::optional<picture::LoadResult> result;
  if (pictureWorker_) {
    result = pictureWorker_->Take(loadTicket_);
    if (!result) return;
  }
  backgroundPending_ = false;
  picture::LoadedPicture none;
  const bool loaded = result && result->error == 0 && !theme_.BackFileName.empty();
  const picture::LoadedPicture& tile = loaded ? result->picture : none;
  saver::TileBackBitmap(tile, ClientSize(), drawing_->Back);
  drawing_->BuildFromBack(ClientSize());
  drawing_->UsePalette(tile.palette.get());
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TMainForm::SetInterval(int ms) { Timer2.SetInterval(ms > 0 ? static_cast<UINT>(ms) : 1); }

SIZE TMainForm::ClientSize() const { return {ClientWidth(), ClientHeight()}; }

// Each window covers its monitor (or the preview host's client area):
// pictures are fitted and placed within all of it.
RECT TMainForm::ImageArea() const { return {0, 0, ClientWidth(), ClientHeight()}; }

// The one place a picture of the show is loaded: on the loader's worker,
// fitted to the image area when the theme asks (ImageFit).
void TMainForm::StartImageLoad(const std::string& name) {
  picture::LoadRequest request;
  request.fileName = name;
  const RECT area = ImageArea();
  request.area = {area.right - area.left, area.bottom - area.top};
  if (theme_.ImageFit) request.fitTo = request.area;
  // The fill and the copy to move in are made on the worker, at this monitor's size.
  request.fillBars = theme_.BlurFill;
  request.motionZoom = theme_.PanZoom ? saver::kMotionZoom : 1;
  loadName_ = name;
  if (pictureWorker_) loadTicket_ = pictureWorker_->Start(std::move(request));
  mirrorLoad_ = saver::ImageLoad::Running;
  for (TMainForm* mirror : mirrors_) {
    // A mirror still loading its background sits this picture out.
    if (mirror->backgroundPending_) {
      mirror->mirrorLoad_ = saver::ImageLoad::Failed;
    } else {
      mirror->StartImageLoad(name);
    }
  }
}

// Only the finished bitmap is taken over on this thread.
saver::ImageLoad TMainForm::TakeImageLoad() {
  if (!pictureWorker_) return saver::ImageLoad::Failed;  // the show runs without pictures
  if (TakeMirrorLoads() == saver::ImageLoad::Running) return saver::ImageLoad::Running;
  std::optional<picture::LoadResult> result = pictureWorker_->Take(loadTicket_);
  if (!result) return saver::ImageLoad::Running;
  if (result->error != 0 || !result->picture.bitmap || loadName_.empty()) return saver::ImageLoad::Failed;
  shownPicture_->Adopt(loadName_, std::move(result->picture), result->paletteMade);
  motionCopy_ = std::move(result->motion);
  motionWhole_ = result->motionWhole;
  shownName_ = loadName_;
  return saver::ImageLoad::Ready;
}

SIZE TMainForm::ImageSize() const { return {shownPicture_->Width(), shownPicture_->Height()}; }

void TMainForm::ApplyImagePalette() {
  drawing_->UsePalette(shownPicture_->Empty() ? nullptr : shownPicture_->Palette());
  for (TMainForm* mirror : mirrors_)
    if (mirror->mirrorLoad_ == saver::ImageLoad::Ready) mirror->ApplyImagePalette();
}

void TMainForm::PlacePicture(POINT at, int effectCoin) {
  PrepareMotion(at);
  drawing_->PlacePicture(shownPicture_->Canvas(), ImageSize(), at, effectCoin);
  PlaceOnMirrors(at, effectCoin);
}

// A moving picture moves from the end of its appear effect to the start of
// its erase, which starts from the last frame.
saver::EffectStep TMainForm::BeginEffect(bool appear, int kind) {
  if (!appear) SettleMotion();
  effectDone_ = false;
  saver::EffectStep own = drawing_->BeginEffect(appear, kind);
  effectDone_ = own.Done;
  const saver::EffectStep all = MirrorSteps(own, appear, kind, 0, true);
  if (appear && all.Done) RunMotion();
  return all;
}

saver::EffectStep TMainForm::EffectSteps(bool appear, int kind, int steps) {
  saver::EffectStep own;
  own.Done = true;
  if (!effectDone_) own = drawing_->EffectSteps(appear, kind, steps);
  effectDone_ = own.Done;
  const saver::EffectStep all = MirrorSteps(own, appear, kind, steps, false);
  if (appear && all.Done) RunMotion();
  return all;
}

void TMainForm::KeepScreenAsBackground() {
  SettleMotion();
  drawing_->KeepScreenAsBackground();
  for (TMainForm* mirror : mirrors_) mirror->drawing_->KeepScreenAsBackground();
}
