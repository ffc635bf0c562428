#include "saver/MainForm.h"

#include <mmsystem.h>

#include "forms/Application.h"
#include "picture/All.h"
#include "picture/Loader.h"
#include "settings/IniFile.h"

namespace {
constexpr UINT kScreenSaverRunning = SPI_SETSCREENSAVERRUNNING;  // 97

void SetScreenSaverRunning(bool on) {
  UINT old = 0;
  SystemParametersInfoA(kScreenSaverRunning, on ? 1 : 0, &old, 0);
}
}  // namespace

TMainForm::TMainForm(HWND previewParent)
    : Form("TMainForm", "MainForm"),
      previewParent_(previewParent),
      monitors_(saver::CurrentScreenLayout()),
      TBarOffBtn(*this, "TBarOffBtn"),
      MidiPlayer(*this, "MidiPlayer"),
      Timer1(*this, "Timer1", 1000),
      Timer2(*this, "Timer2", saver::kIdleInterval) {
  DialogKeys = false;
  KeyPreview = true;
  Create();
  TBarOffBtn.Create("TBarOffBtn", 0, 0, 0, 0);
  MidiPlayer.Create();
  MidiPlayer.OnNotify = [this] { MidiPlayerNotify(); };
  shownPicture_ = std::make_unique<TAll_nmsg>(*this, "Image");
  Timer1.OnTimer = [this] { Timer1Timer(); };
  Timer2.OnTimer = [this] { Timer2Timer(); };
  FormCreate();
  Timer1.Start();
  Timer2.Start();
}

TMainForm::~TMainForm() = default;

void TMainForm::FillCreateParams(forms::CreateParams& p) {
  p.caption = "Glimora";
  p.style = WS_POPUP | WS_CLIPCHILDREN;
  p.exStyle = WS_EX_TOPMOST;
  const RECT r = WindowBounds();
  p.x = r.left;
  p.y = r.top;
  p.width = r.right - r.left;
  p.height = r.bottom - r.top;
  p.parent = forms::Application::Get().Handle();
  if (previewParent_) {
    p.parent = previewParent_;
    p.style = (p.style & ~WS_POPUP) | WS_CHILD;
    p.exStyle = 0;
  }
}

// The preview fills its host's client area from the start, so the stage is
// built at the size that is shown.
RECT TMainForm::WindowBounds() const {
  if (!previewParent_) return monitors_.Virtual;
  RECT client = {0, 0, 0, 0};
  GetClientRect(previewParent_, &client);
  return client;
}

void TMainForm::FormCreate() {
  // The client covers every monitor, so none is left showing the desktop
  // (borderless, so the window does too). The preview is sized by its host.
  const RECT r = WindowBounds();
  SetWindowPos(Handle(), previewParent_ ? nullptr : HWND_TOPMOST, r.left, r.top, r.right - r.left,
               r.bottom - r.top, SWP_NOACTIVATE | (previewParent_ ? SWP_NOZORDER : 0));
  if (!previewParent_) {
    SetScreenSaverRunning(true);
    while (ShowCursor(FALSE) >= 0) {
    }
  }
  theme_ = saver::ReadSaverSettings(settings::IniFile());
  random_ = saver::ClockSeededRandom();
  drawing_ = std::make_unique<saver::Surfaces>(theme_.AppearSpeed, theme_.EraseSpeed, random_);
  drawing_->SetWindow(Handle());
  pictureWorker_ = std::make_unique<picture::Loader>(Handle(), kPictureLoaded);
  saver::SequencerHost& host = *this;
  // timeGetTime: millisecond steps where GetTickCount may move in 16 ms ones.
  pictures_ = std::make_unique<saver::PictureSource>(theme_, random_);
  show_ = std::make_unique<saver::Sequencer>(theme_, *pictures_, host, [] { return timeGetTime(); },
                                             random_);
  mouseMoves_ = 0;
  SaverSession = true;
  BuildBackground();
}

void TMainForm::FormActivate() {
  if (!previewParent_) TBarOffBtn.SetFocus();
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SYSCOMMAND:
      // No system screen saver over this one.
      if (wp == SC_SCREENSAVE) return 1;
      break;
    case WM_ERASEBKGND:
      return 1;  // FormPaint covers the whole client area
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      FormKeyDown();
      return 0;
    case WM_LBUTTONUP:
      FormClick();
      return 0;
    case WM_MOUSEMOVE:
      FormMouseMove();
      return 0;
    case kPictureLoaded:
      // Take the picture now rather than on the next tick.
      if (show_ && show_->State() == saver::ShowState::NextImage) show_->Tick();
      return 0;
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

bool TMainForm::PreviewKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  FormKeyDown();
  return SaverSession;
}

void TMainForm::FormKeyDown() {
  if (SaverSession) CloseWithPassword();
}

void TMainForm::FormClick() {
  if (SaverSession) CloseWithPassword();
}

void TMainForm::FormMouseMove() {
  if (mouseMoves_ > theme_.CloseMouseMove && SaverSession) {
    CloseWithPassword();
  } else if (mouseMoves_ <= saver::kMaxCloseMouseMove) {
    ++mouseMoves_;  // never wraps, so enough movement always ends the show
  }
}

void TMainForm::Timer1Timer() { mouseMoves_ = 0; }

void TMainForm::Timer2Timer() {
  if (show_ && Handle()) show_->Tick();
}

void TMainForm::FormPaint(HDC dc) {
  if (drawing_) drawing_->Paint(dc);
}

void TMainForm::FormClose(forms::CloseAction& action) {
  action = forms::CloseAction::Free;
  // The sound stops and the window goes even when the settings file cannot
  // be written; the error box then says so.
  std::string writeError;
  try {
    settings::IniFile ini;
    if (theme_.CanWriteBack()) {
      ini.WriteInteger(theme_.Section, settings::key::LastImageNumber.name, pictures_->ResumeNumber());
      ini.WriteInteger(theme_.Section, settings::key::LastMidiNumber.name, show_->NextMidiNumber());
    }
  } catch (const std::exception& e) {
    writeError = e.what();
  }
  StopSound();
  if (!writeError.empty()) forms::Application::Get().ShowError(writeError);
}

void TMainForm::FormDestroy() {
  pictureWorker_.reset();  // a load in flight is abandoned: its worker frees what it made
  Timer1.SetEnabled(false);
  Timer2.SetEnabled(false);
  EndTitle();
  if (drawing_) drawing_->Reset();
  if (SaverSession) SetScreenSaverRunning(false);
  if (!previewParent_) ShowCursor(TRUE);
}
