#include "saver/ShowController.h"

#include <mmsystem.h>

#include <algorithm>

#include "forms/Application.h"
#include "saver/MonitorLayout.h"
#include "settings/IniFile.h"
#include "settings/ResumeWrite.h"

namespace saver {

namespace {
RECT PrimaryMonitor() { return ShowMonitors(SystemMonitors(), settings::kPrimaryOnly).at(0).Bounds; }
}  // namespace

ShowController::ShowController(HWND previewParent)
    : previewParent_(previewParent),
      session_(previewParent == nullptr),
      theme_(ReadSaverSettings(settings::IniFile())),
      random_(ClockSeededRandom()),
      pictures_(theme_, random_) {
  if (!previewParent_) gate_.emplace();
  const WindowPlace place = {"TMainForm", PrimaryMonitor(), previewParent_, previewParent_ != nullptr};
  main_.window = std::make_unique<MonitorWindow>(place, theme_, random_, Sink());
  title_ = std::make_unique<TitlePresenter>(*main_.window);
  sound_ = std::make_unique<ShowSound>(*main_.window);
  output_ = std::make_unique<StageOutput>(theme_, session_, *title_, *sound_);
  MonitorHost* host = main_.window.get();
  if (!previewParent_ && theme_.Monitors == settings::kAllSame) {
    mirrors_ = std::make_unique<MirrorHost>(*main_.window);
    host = mirrors_.get();
  }
  main_.show = MakeSequencer(*host, output_.get(), random_);
  sound_->OnMidiDone = [this] { main_.show->MidiSet(); };
  if (!previewParent_) CreateOtherMonitors();
  Timer1 = std::make_unique<forms::Timer>(*main_.window, "Timer1", 1000);
  Timer1->OnTimer = [this] { mouseMoves_ = 0; };
  Timer1->Start();
}

ShowController::~ShowController() = default;

std::unique_ptr<Sequencer> ShowController::MakeSequencer(MonitorHost& host, ShowOutput* output, RandomFn random) {
  // timeGetTime: millisecond steps where GetTickCount may move in 16 ms ones.
  return std::make_unique<Sequencer>(
      theme_, pictures_, host, output, [] { return timeGetTime(); }, std::move(random),
      [this](const std::string& image) { return InUse(image); });
}

// Every monitor gets a window, so none shows the desktop; Monitors decides
// what the others show: a show of their own from the shared source (1), the
// primary's show mirrored (2), or the background (0). Their windows have
// another class name: "TMainForm" stays the one a second start finds.
void ShowController::CreateOtherMonitors() {
  const std::vector<Monitor> all = ShowMonitors(SystemMonitors(), settings::kEachOwn);
  for (size_t i = 1; i < all.size(); ++i) {
    RandomFn random = SeededRandom(static_cast<unsigned>(random_(0x7FFFFFFF)));
    const WindowPlace place = {"TMonitorForm", all[i].Bounds, main_.window->Handle(), false};
    auto window = std::make_unique<MonitorWindow>(place, theme_, random, Sink());
    // Shown without taking the activation: the keys go to the primary's
    // window. Painted at once, so the monitor never shows an empty window.
    ShowWindow(window->Handle(), SW_SHOWNA);
    UpdateWindow(window->Handle());
    if (mirrors_) {
      mirrors_->Add(std::move(window));
      continue;
    }
    Screen screen;
    screen.window = std::move(window);
    if (theme_.Monitors != settings::kPrimaryOnly) screen.show = MakeSequencer(*screen.window, nullptr, random);
    others_.push_back(std::move(screen));
  }
}

ShowController::Screen* ShowController::ScreenOf(const MonitorWindow& window) {
  if (main_.window.get() == &window) return &main_;
  for (Screen& s : others_)
    if (s.window.get() == &window) return &s;
  return nullptr;  // a mirror: the primary's show draws on it
}

bool PictureInUse(const std::vector<ShowPictures>& shows, const std::string& image) {
  if (image.empty() || shows.size() < 2) return false;
  return std::any_of(shows.begin(), shows.end(),
                     [&](const ShowPictures& s) { return s.shown == image || s.loading == image; });
}

// Only monitors that run a show of their own count (see PictureInUse).
bool ShowController::InUse(const std::string& image) const {
  std::vector<ShowPictures> shows;
  auto add = [&shows](const Screen& s) {
    if (s.show) shows.push_back({s.window->Shown(), s.window->Loading()});
  };
  add(main_);
  for (const Screen& s : others_) add(s);
  return PictureInUse(shows, image);
}

// Input on any monitor counts once: one threshold, one password check, one end.
void ShowController::Input(MonitorWindow&, UINT message, WPARAM wp) {
  if (!session_) return;
  // Show keys never reach the exit gate, so on Windows 95/98 they ask for no password.
  const ShowKey key = message == WM_KEYDOWN && theme_.ShowKeys ? ShowKeyOf(wp) : ShowKey::None;
  if (key != ShowKey::None) return Apply(key);
  if (message != WM_MOUSEMOVE) return End();
  if (mouseMoves_ > theme_.CloseMouseMove) {
    End();
  } else if (mouseMoves_ <= kMaxCloseMouseMove) {
    ++mouseMoves_;  // never wraps, so enough movement always ends the show
  }
}

void ShowController::Apply(ShowKey key) {
  switch (key) {
    case ShowKey::Forward:
      // One tick at once takes a picture that has loaded ahead, rather than on the next Timer2 tick.
      return ForEachShow([](Sequencer& s) {
        s.StepForward();
        s.Tick();
      });
    case ShowKey::Back: return ForEachShow([](Sequencer& s) { s.StepBack(); });
    case ShowKey::Pause:
      paused_ = !paused_;
      ForEachShow([this](Sequencer& s) { s.SetPaused(paused_); });
      sound_->Pause(paused_);
      main_.window->ShowPauseMark(paused_);
      return;
    case ShowKey::None: return;
  }
}

// The primary's show (which draws on the mirrors too) and every monitor's own.
void ShowController::ForEachShow(const std::function<void(Sequencer&)>& action) {
  if (main_.show) action(*main_.show);
  for (Screen& s : others_)
    if (s.show) action(*s.show);
}

void ShowController::End() {
  if (gate_ && !gate_->MayClose(main_.window->Handle())) return;
  main_.window->Close();
}

void ShowController::Tick(MonitorWindow& window) {
  Screen* screen = ScreenOf(window);
  if (screen && screen->show) screen->show->Tick();
}

void ShowController::PictureLoaded(MonitorWindow& window) {
  Screen* screen = ScreenOf(window);
  if (screen && screen->show && screen->show->State() == ShowState::NextImage) screen->show->Tick();
}

// A monitor unplugged: the show goes on on those that remain.
void ShowController::DisplayChanged(MonitorWindow& window) {
  if (&window == main_.window.get() && !previewParent_) DropLostMonitors();
}

void ShowController::DropLostMonitors() {
  const std::vector<Monitor> now = SystemMonitors();
  std::vector<Monitor> shown;
  for (const Screen& s : others_) shown.push_back({s.window->Monitor(), false});
  std::vector<Screen> kept;
  for (int i : RemainingMonitors(shown, now)) kept.push_back(std::move(others_[static_cast<size_t>(i)]));
  others_.swap(kept);  // the windows of lost monitors go with `kept`
  if (!mirrors_) return;
  mirrors_->KeepOnly([&now](const MonitorWindow& w) {
    return !RemainingMonitors({{w.Monitor(), false}}, now).empty();
  });
}

// Only the whole show closes, and only once, through the primary's window.
void ShowController::CloseAsked(MonitorWindow& window, forms::CloseAction& action) {
  if (&window != main_.window.get()) {
    action = forms::CloseAction::None;
    PostMessageA(main_.window->Handle(), WM_CLOSE, 0, 0);
    return;
  }
  action = forms::CloseAction::Free;
  if (closing_) return;
  closing_ = true;
  // The show ends here, not when the window is gone (hiding it may take a
  // while): loads in flight are abandoned, their plug-ins asked to stop.
  main_.window->StopShow();
  for (Screen& s : others_) s.window->StopShow();
  // The sound stops and the window goes even when the settings file cannot
  // be written; the error box then says so.
  std::string writeError;
  try {
    WriteResumePlace();
  } catch (const std::exception& e) {
    writeError = e.what();
  }
  sound_->Stop();
  if (!writeError.empty()) forms::Application::Get().ShowError(writeError);
}

void ShowController::WriteResumePlace() {
  if (!theme_.CanWriteBack()) return;
  settings::IniFile ini;
  settings::ResumePlace place;
  place.imageNumber = pictures_.ResumeNumber();
  place.imageInFolder = pictures_.ResumeInFolder();
  place.midiNumber = main_.show->NextMidiNumber();
  settings::WriteResumePlace(ini, theme_.Section, place);
}

}  // namespace saver
