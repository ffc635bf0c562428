#include "saver/MonitorWindow.h"

#include "forms/Application.h"
#include "picture/All.h"
#include "picture/Loader.h"
#include "saver/Background.h"

namespace saver {

namespace {
constexpr UINT kPauseMarkShown = 1000;  // ms
}  // namespace

MonitorWindow::MonitorWindow(const WindowPlace& place, const SaverSettings& theme, RandomFn random,
                             WindowSink& sink)
    : Form(place.className, "MainForm"),
      place_(place),
      theme_(theme),
      sink_(sink),
      random_(random),
      TBarOffBtn(*this, "TBarOffBtn"),
      Timer2(*this, "Timer2", kIdleInterval),
      PauseMarkTimer(*this, "PauseMarkTimer", kPauseMarkShown, false) {
  DialogKeys = false;
  KeyPreview = true;
  Create();
  TBarOffBtn.Create("TBarOffBtn");
  shownPicture_ = std::make_unique<TAll_nmsg>(*this, "Image");
  Timer2.OnTimer = [this] {
    if (Handle() && !backgroundPending_) sink_.Tick(*this);
    if (drawing_) motion_.DrawDue(MotionClock(), *drawing_);  // at most one frame a refresh
  };
  // The client covers the monitor (borderless, so the window does too). The
  // preview is sized by its host.
  const RECT r = WindowBounds();
  SetWindowPos(Handle(), place_.preview ? nullptr : HWND_TOPMOST, r.left, r.top, r.right - r.left,
               r.bottom - r.top, SWP_NOACTIVATE | (place_.preview ? SWP_NOZORDER : 0));
  drawing_ = std::make_unique<Surfaces>(theme_.AppearSpeed, theme_.EraseSpeed, std::move(random));
  drawing_->SetWindow(Handle());
  drawing_->SetOverlay([this](HDC target, const RECT& drawn) { DrawOverlays(target, drawn); });
  PauseMarkTimer.OnTimer = [this] { ShowPauseMark(false); };
  try {
    pictureWorker_ = std::make_unique<picture::Loader>(Handle(), kPictureLoaded);
  } catch (const std::exception&) {
    pictureWorker_.reset();  // no thread to be had: the show runs without pictures
  }
  BuildBackground();
  Timer2.Start();
}

MonitorWindow::~MonitorWindow() = default;

void MonitorWindow::FillCreateParams(forms::CreateParams& p) {
  p.caption = "Glimora";
  p.style = WS_POPUP | WS_CLIPCHILDREN;
  p.exStyle = WS_EX_TOPMOST;
  const RECT r = WindowBounds();
  p.x = r.left;
  p.y = r.top;
  p.width = r.right - r.left;
  p.height = r.bottom - r.top;
  p.parent = place_.parent ? place_.parent : forms::Application::Get().Handle();
  if (place_.preview) {
    p.style = (p.style & ~WS_POPUP) | WS_CHILD;
    p.exStyle = 0;
  }
}

// The preview fills its host's client area from the start, so the stage is
// built at the size that is shown.
RECT MonitorWindow::WindowBounds() const {
  if (!place_.preview) return place_.monitor;
  RECT client = {0, 0, 0, 0};
  GetClientRect(place_.parent, &client);
  return client;
}

SIZE MonitorWindow::ClientSize() const { return {ClientWidth(), ClientHeight()}; }

void MonitorWindow::FormActivate() {
  if (!place_.preview) TBarOffBtn.SetFocus();
}

LRESULT MonitorWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SYSCOMMAND:
      // No system screen saver over this one.
      if (wp == SC_SCREENSAVE) return 1;
      break;
    case WM_ERASEBKGND:
      return 1;  // FormPaint covers the whole client area
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      PostInput(WM_KEYDOWN, wp);
      return 0;
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      PostInput(msg, 0);
      return 0;
    case kInput:
      sink_.Input(*this, static_cast<UINT>(wp), static_cast<WPARAM>(lp));
      return 0;
    case WM_DISPLAYCHANGE:
      sink_.DisplayChanged(*this);
      break;
    case kPictureLoaded:
      // Take the picture now rather than on the next tick.
      if (backgroundPending_) {
        TakeBackground();
      } else {
        sink_.PictureLoaded(*this);
      }
      return 0;
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

bool MonitorWindow::PreviewKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  PostInput(WM_KEYDOWN, msg.wParam);
  return sink_.TakesInput();
}

// Input is handed on once the handler that saw it has returned: the show,
// and this window with it, may end there.
void MonitorWindow::PostInput(UINT message, WPARAM wp) {
  PostMessageA(Handle(), kInput, message, static_cast<LPARAM>(wp));
}

void MonitorWindow::FormPaint(HDC dc) {
  if (drawing_) drawing_->Paint(dc);
}

void MonitorWindow::FormClose(forms::CloseAction& action) { sink_.CloseAsked(*this, action); }

void MonitorWindow::StopShow() {
  Timer2.SetEnabled(false);
  pictureWorker_.reset();
}

void MonitorWindow::FormDestroy() {
  StopShow();  // a load in flight is abandoned: its worker frees what it made
  if (drawing_) drawing_->Reset();
}

// The background from the theme's keys. A picture is loaded on the worker,
// like the show's: until it is tiled in, the window shows the theme's colour,
// answers input, and the show waits.
void MonitorWindow::BuildBackground() {
  BackgroundChoice choice;
  choice.Kind = theme_.BackGround;
  choice.Color = theme_.BackColor;
  choice.FileName = theme_.BackFileName;
  BuildBackBitmap(choice, ClientSize(), drawing_->Back, place_.preview ? nullptr : &place_.monitor);
  drawing_->BuildFromBack(ClientSize());
  if (choice.Kind != kBackImage) return;
  backgroundPending_ = true;
  if (!pictureWorker_) return TakeBackground();
  picture::LoadRequest request;
  request.fileName = choice.FileName;
  request.cropTo = ClientSize();  // a camera photo is cut down on the worker, not here
  loadTicket_ = pictureWorker_->Start(std::move(request));
}

// The background picture tiled in once it is loaded (black when it cannot
// be); then the show starts.
void MonitorWindow::TakeBackground() {
  std::optional<picture::LoadResult> result;
  if (pictureWorker_) {
    result = pictureWorker_->Take(loadTicket_);
    if (!result) return;
  }
  backgroundPending_ = false;
  picture::LoadedPicture none;
  const bool loaded = result && result->error == 0 && !theme_.BackFileName.empty();
  const picture::LoadedPicture& tile = loaded ? result->picture : none;
  TileBackBitmap(tile, ClientSize(), drawing_->Back);
  drawing_->BuildFromBack(ClientSize());
  drawing_->UsePalette(tile.palette.get());
  InvalidateRect(Handle(), nullptr, FALSE);
}

void MonitorWindow::SetInterval(int ms) { Timer2.SetInterval(ms > 0 ? static_cast<UINT>(ms) : 1); }

// Each window covers its monitor (or the preview host's client area):
// pictures are fitted and placed within all of it.
RECT MonitorWindow::ImageArea() const { return {0, 0, ClientWidth(), ClientHeight()}; }

// The one place a picture of the show is loaded: on the loader's worker,
// fitted to the image area when the theme asks (ImageFit), its bars filled
// (BlurFill) and a copy to move in made (PanZoom), at this monitor's size.
void MonitorWindow::StartImageLoad(const std::string& name) {
  picture::LoadRequest request;
  request.fileName = name;
  request.area = ClientSize();
  if (theme_.ImageFit) request.fitTo = ClientSize();
  request.fillBars = theme_.BlurFill;
  request.motionZoom = theme_.PanZoom ? kMotionZoom : 1;
  request.readFacts = theme_.Caption != settings::kNoCaption && !place_.preview;
  loadName_ = name;
  if (pictureWorker_) loadTicket_ = pictureWorker_->Start(std::move(request));
}

// Only the finished bitmap is taken over on this thread.
ImageLoad MonitorWindow::TakeImageLoad() {
  if (!pictureWorker_) return ImageLoad::Failed;  // the show runs without pictures
  std::optional<picture::LoadResult> result = pictureWorker_->Take(loadTicket_);
  if (!result) return ImageLoad::Running;
  if (result->error != 0 || !result->picture.bitmap || loadName_.empty()) return ImageLoad::Failed;
  shownPicture_->Adopt(loadName_, std::move(result->picture), result->paletteMade);
  motionCopy_ = std::move(result->motion);
  motionWhole_ = result->motionWhole;
  shownName_ = loadName_;
  shownFacts_ = std::move(result->facts);
  return ImageLoad::Ready;
}

SIZE MonitorWindow::ImageSize() const { return {shownPicture_->Width(), shownPicture_->Height()}; }

void MonitorWindow::ApplyImagePalette() {
  drawing_->UsePalette(shownPicture_->Empty() ? nullptr : shownPicture_->Palette());
}

// A moving picture appears as its first frame, moves from the end of its
// appear effect, and is erased (or kept as the background) from its last frame.
void MonitorWindow::PlacePicture(POINT at, int effectCoin) {
  const SIZE size = ImageSize();
  motion_.Prepare(std::move(motionCopy_), motionWhole_, {at.x, at.y, at.x + size.cx, at.y + size.cy}, ClientSize(),
                  theme_.ImageOnDelay, random_, shownPicture_->Canvas());
  motionCopy_ = picture::PixelImage();
  drawing_->PlacePicture(shownPicture_->Canvas(), size, at, effectCoin);
}

EffectStep MonitorWindow::BeginEffect(bool appear, int kind) {
  if (!appear) motion_.Settle(shownPicture_->Canvas());
  const EffectStep step = drawing_->BeginEffect(appear, kind);
  if (appear && step.Done) RunMotion();
  return step;
}

EffectStep MonitorWindow::EffectSteps(bool appear, int kind, int steps) {
  const EffectStep step = drawing_->EffectSteps(appear, kind, steps);
  if (appear && step.Done) RunMotion();
  return step;
}

void MonitorWindow::RunMotion() {
  forms::WindowDc dc(Handle());
  motion_.Run(MotionClock(), GetDeviceCaps(dc.get(), VREFRESH));
}

void MonitorWindow::KeepScreenAsBackground() {
  motion_.Settle(shownPicture_->Canvas());
  drawing_->KeepScreenAsBackground();
}

// The caption is an overlay: Screen never holds it, so the erase, a kept
// background and a step all find the picture alone.
void MonitorWindow::ShowCaption() {
  if (theme_.Caption == settings::kNoCaption || place_.preview) return;
  const CaptionLine line = LayOutCaption(CaptionText(shownFacts_, theme_.Caption), ImageArea(), Dpi());
  caption_.Show(drawing_->Screen.Dc(), line);
  drawing_->Flush(line.rect);
}

void MonitorWindow::HideCaption() {
  if (!caption_.Visible()) return;
  const RECT rect = caption_.Rect();
  caption_.Hide();
  drawing_->Flush(rect);
}

void MonitorWindow::ClearPicture() {
  caption_.Hide();
  drawing_->ShowBackground();
}

void MonitorWindow::SetPaused(bool paused) {
  if (paused == paused_) return;
  paused_ = paused;
  // The moving picture stops where it is and goes on from there.
  if (paused) FreezeMotion();
  else ResumeMotion();
}

void MonitorWindow::ShowPauseMark(bool on) {
  PauseMarkTimer.SetEnabled(false);
  if (on == pauseMark_) return;
  pauseMark_ = on;
  if (on) PauseMarkTimer.SetEnabled(true);
  drawing_->Flush(PauseMarkRect(ImageArea(), Dpi()));
}

void MonitorWindow::DrawOverlays(HDC target, const RECT& drawn) const {
  caption_.DrawOver(target, drawn);
  const RECT mark = PauseMarkRect(ImageArea(), Dpi());
  RECT meet;
  if (pauseMark_ && IntersectRect(&meet, &mark, &drawn)) DrawPauseMark(target, mark);
}

}  // namespace saver
