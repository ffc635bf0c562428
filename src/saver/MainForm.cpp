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

RECT PrimaryMonitor() {
  return saver::ShowMonitors(saver::SystemMonitors(), settings::kPrimaryOnly).at(0).Bounds;
}
}  // namespace

TMainForm::TMainForm(HWND previewParent)
    : Form("TMainForm", "MainForm"),
      previewParent_(previewParent),
      monitor_(PrimaryMonitor()),
      TBarOffBtn(*this, "TBarOffBtn"),
      MidiPlayer(*this, "MidiPlayer"),
      Timer1(*this, "Timer1", 1000),
      Timer2(*this, "Timer2", saver::kIdleInterval) {
  CreateWindowParts();
  MidiPlayer.Create();
  MidiPlayer.OnNotify = [this] { MidiPlayerNotify(); };
  shownPicture_ = std::make_unique<TAll_nmsg>(*this, "Image");
  Timer1.OnTimer = [this] { Timer1Timer(); };
  Timer2.OnTimer = [this] { Timer2Timer(); };
  FormCreate();
  Timer1.Start();
  Timer2.Start();
}

// The window and the hidden button both kinds of saver window have.
void TMainForm::CreateWindowParts() {
  DialogKeys = false;
  KeyPreview = true;
  Create();
  TBarOffBtn.Create("TBarOffBtn", 0, 0, 0, 0);
}

// Another class name: "TMainForm" stays the one window that tells a second
// start the show is running.
TMainForm::TMainForm(TMainForm& primary, const RECT& monitor, MonitorRole role)
    : Form("TMonitorForm", "MonitorForm"),
      previewParent_(nullptr),
      primary_(&primary),
      role_(role),
      monitor_(monitor),
      TBarOffBtn(*this, "TBarOffBtn"),
      MidiPlayer(*this, "MidiPlayer"),
      Timer1(*this, "Timer1", 1000),
      Timer2(*this, "Timer2", saver::kIdleInterval) {
  CreateWindowParts();
  shownPicture_ = std::make_unique<TAll_nmsg>(*this, "Image");
  Timer2.OnTimer = [this] { Timer2Timer(); };
  FormCreate();
  Timer2.Start();
  // Shown without taking the activation: the keys go to the primary's window.
  ShowWindow(Handle(), SW_SHOWNA);
}

TMainForm::~TMainForm() {
  // The other monitors' shows draw from this window's source: they go first.
  mirrors_.clear();
  others_.clear();
}

void TMainForm::FillCreateParams(forms::CreateParams& p) {
  p.caption = "Glimora";
  p.style = WS_POPUP | WS_CLIPCHILDREN;
  p.exStyle = WS_EX_TOPMOST;
  const RECT r = WindowBounds();
  p.x = r.left;
  p.y = r.top;
  p.width = r.right - r.left;
  p.height = r.bottom - r.top;
  p.parent = primary_ ? primary_->Handle() : forms::Application::Get().Handle();
  if (previewParent_) {
    p.parent = previewParent_;
    p.style = (p.style & ~WS_POPUP) | WS_CHILD;
    p.exStyle = 0;
  }
}

// The preview fills its host's client area from the start, so the stage is
// built at the size that is shown.
RECT TMainForm::WindowBounds() const {
  if (!previewParent_) return monitor_;
  RECT client = {0, 0, 0, 0};
  GetClientRect(previewParent_, &client);
  return client;
}

void TMainForm::FormCreate() {
  // The client covers the monitor (borderless, so the window does too). The
  // preview is sized by its host.
  const RECT r = WindowBounds();
  SetWindowPos(Handle(), previewParent_ ? nullptr : HWND_TOPMOST, r.left, r.top, r.right - r.left,
               r.bottom - r.top, SWP_NOACTIVATE | (previewParent_ ? SWP_NOZORDER : 0));
  if (!previewParent_ && !primary_) {
    SetScreenSaverRunning(true);
    while (ShowCursor(FALSE) >= 0) {
    }
  }
  if (primary_) {
    theme_ = primary_->theme_;
    random_ = saver::SeededRandom(static_cast<unsigned>(primary_->random_(0x7FFFFFFF)));
  } else {
    theme_ = saver::ReadSaverSettings(settings::IniFile());
    random_ = saver::ClockSeededRandom();
  }
  drawing_ = std::make_unique<saver::Surfaces>(theme_.AppearSpeed, theme_.EraseSpeed, random_);
  drawing_->SetWindow(Handle());
  try {
    pictureWorker_ = std::make_unique<picture::Loader>(Handle(), kPictureLoaded);
  } catch (const std::exception&) {
    pictureWorker_.reset();  // no thread to be had: the show runs without pictures
  }
  saver::SequencerHost& host = *this;
  // timeGetTime: millisecond steps where GetTickCount may move in 16 ms ones.
  if (!primary_) pictures_ = std::make_unique<saver::PictureSource>(theme_, random_);
  // Another monitor runs a show of its own only for its own pictures; a
  // mirror is drawn by the primary's show, a background-only one by none.
  if (role_ == MonitorRole::OwnPictures) {
    saver::PictureSource& source = primary_ ? *primary_->pictures_ : *pictures_;
    show_ = std::make_unique<saver::Sequencer>(theme_, source, host, [] { return timeGetTime(); }, random_);
  }
  mouseMoves_ = 0;
  SaverSession = true;
  BuildBackground();
  if (!primary_ && !previewParent_) CreateOtherMonitors();
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
    case kOtherMonitorInput:
      switch (wp) {
        case WM_MOUSEMOVE: FormMouseMove(); break;
        case WM_LBUTTONUP: FormClick(); break;
        default: FormKeyDown(); break;
      }
      return 0;
    case WM_DISPLAYCHANGE:
      // A monitor unplugged: the show goes on on those that remain.
      if (!primary_) DropLostMonitors();
      break;
    case kPictureLoaded:
      // Take the picture now rather than on the next tick.
      if (backgroundPending_) {
        TakeBackground();
      } else if (show_ && show_->State() == saver::ShowState::NextImage) {
        show_->Tick();
      }
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

// Input on any monitor counts at the primary's window: one threshold, one
// password check, one end.
void TMainForm::FormKeyDown() {
  if (primary_) return PostToPrimary(WM_KEYDOWN);
  if (SaverSession) CloseWithPassword();
}

void TMainForm::FormClick() {
  if (primary_) return PostToPrimary(WM_LBUTTONUP);
  if (SaverSession) CloseWithPassword();
}

void TMainForm::PostToPrimary(UINT input) { PostMessageA(primary_->Handle(), kOtherMonitorInput, input, 0); }

void TMainForm::FormMouseMove() {
  if (primary_) return PostToPrimary(WM_MOUSEMOVE);
  if (mouseMoves_ > theme_.CloseMouseMove && SaverSession) {
    CloseWithPassword();
  } else if (mouseMoves_ <= saver::kMaxCloseMouseMove) {
    ++mouseMoves_;  // never wraps, so enough movement always ends the show
  }
}

void TMainForm::Timer1Timer() { mouseMoves_ = 0; }

void TMainForm::Timer2Timer() {
  if (show_ && Handle() && !backgroundPending_) show_->Tick();
  DrawMotionFrame();  // every monitor's window moves its own picture
}

void TMainForm::FormPaint(HDC dc) {
  if (drawing_) drawing_->Paint(dc);
}

void TMainForm::FormClose(forms::CloseAction& action) {
  if (primary_) {
    // Only the whole show closes, and only once: the primary's window does it.
    action = forms::CloseAction::None;
    PostMessageA(primary_->Handle(), WM_CLOSE, 0, 0);
    return;
  }
  action = forms::CloseAction::Free;
  // The show ends here, not when the window is gone (hiding it may take a
  // while): a load in flight is abandoned, and its plug-in asked to stop.
  Timer2.SetEnabled(false);
  pictureWorker_.reset();
  // The sound stops and the window goes even when the settings file cannot
  // be written; the error box then says so.
  std::string writeError;
  try {
    settings::IniFile ini;
    if (theme_.CanWriteBack()) {
      ini.WriteInteger(theme_.Section, settings::key::LastImageNumber.name, pictures_->ResumeNumber());
      // The place inside a folder entry; emptied rather than left stale.
      const std::string& inFolder = pictures_->ResumeInFolder();
      if (!inFolder.empty() || theme_.Entries.Find(settings::key::LastImageInFolder.name))
        ini.WriteString(theme_.Section, settings::key::LastImageInFolder.name, inFolder);
      ini.WriteInteger(theme_.Section, settings::key::LastMidiNumber.name, show_->NextMidiNumber());
    }
  } catch (const std::exception& e) {
    writeError = e.what();
  }
  StopSound();
  if (!writeError.empty()) forms::Application::Get().ShowError(writeError);
}

void TMainForm::FormDestroy() {
  mirrors_.clear();
  others_.clear();  // their shows draw from this window's source
  pictureWorker_.reset();  // a load in flight is abandoned: its worker frees what it made
  Timer1.SetEnabled(false);
  Timer2.SetEnabled(false);
  EndTitle();
  if (drawing_) drawing_->Reset();
  if (primary_) return;
  if (SaverSession) SetScreenSaverRunning(false);
  if (!previewParent_) ShowCursor(TRUE);
}
