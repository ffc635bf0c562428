// The controller of one show: it owns the settings record, the random
// source, the picture source, a window per monitor and the sequencers that
// run on them. Every window reports to it (WindowSink), so it alone decides
// on input (the mouse threshold, keys, clicks), display changes, which
// picture is already showing somewhere, the resume place and closing, once.
// The run mode and the settings dialog's test run create it.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/Timer.h"
#include "saver/ExitGate.h"
#include "saver/MirrorHost.h"
#include "saver/MonitorWindow.h"
#include "saver/PictureSource.h"
#include "saver/Sequencer.h"
#include "saver/ShowKeys.h"
#include "saver/ShowOutputs.h"

namespace saver {

// What a monitor that runs a show of its own has: the picture on its screen
// and the one loading there.
struct ShowPictures {
  std::string_view shown;
  std::string_view loading;
};

// Whether a picture is showing somewhere, so another monitor should take
// a different one: one of the shows has it on screen or loading. It takes
// two shows or more: a mirror shows the primary's picture by design, and a
// show on one monitor leaves the repeats to the picture source.
bool PictureInUse(const std::vector<ShowPictures>& shows, const std::string& image);

class ShowController : private WindowSink {
 public:
  // previewParent: the control panel's preview window (no input, no sound,
  // one window), or nullptr for a run on every monitor.
  explicit ShowController(HWND previewParent = nullptr);
  ~ShowController() override;
  ShowController(const ShowController&) = delete;
  ShowController& operator=(const ShowController&) = delete;

  // The show's window: the primary monitor's, class "TMainForm".
  forms::Form& Window() { return *main_.window; }

 private:
  // A monitor's window and, when it runs a show of its own, its sequencer.
  struct Screen {
    std::unique_ptr<MonitorWindow> window;
    std::unique_ptr<Sequencer> show;  // goes before the window it draws on
  };

  WindowSink& Sink() { return *this; }
  void CreateOtherMonitors();
  std::unique_ptr<Sequencer> MakeSequencer(MonitorHost& host, ShowOutput* output, RandomFn random);
  Screen* ScreenOf(const MonitorWindow& window);
  bool InUse(const std::string& image) const;
  void DropLostMonitors();
  void End();
  void WriteResumePlace();
  // The show keys: a step or the pause on every monitor's show at once.
  void Apply(ShowKey key);
  void ForEachShow(const std::function<void(Sequencer&)>& action);

  // WindowSink
  void Input(MonitorWindow& window, UINT message, WPARAM wp) override;
  bool TakesInput() const override { return session_; }
  void Tick(MonitorWindow& window) override;
  void PictureLoaded(MonitorWindow& window) override;
  void CloseAsked(MonitorWindow& window, forms::CloseAction& action) override;
  void DisplayChanged(MonitorWindow& window) override;

  const HWND previewParent_;
  const bool session_;  // a real run: input ends it, sounds play
  SaverSettings theme_;
  RandomFn random_;
  PictureSource pictures_;
  std::optional<ExitGate> gate_;  // a full-screen run only

  Screen main_;
  std::unique_ptr<MirrorHost> mirrors_;  // Monitors=2: the other monitors' windows
  std::vector<Screen> others_;           // Monitors 0 or 1: the other monitors' windows
  std::unique_ptr<TitlePresenter> title_;
  std::unique_ptr<ShowSound> sound_;
  std::unique_ptr<StageOutput> output_;
  std::unique_ptr<forms::Timer> Timer1;  // clears the mouse count every second
  int mouseMoves_ = 0;
  bool closing_ = false;
  bool paused_ = false;
};

}  // namespace saver
