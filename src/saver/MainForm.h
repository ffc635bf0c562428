// The saver window: one per monitor, topmost, or a child of the control
// panel's preview window. Each owns the picture component, the surfaces (the
// bitmaps the show is drawn on), the timers and the sequencer that runs the
// show on them, so every monitor keeps its own pace at its own DPI. The
// window on the primary monitor is the show's: it makes the others, owns the
// picture source they share, the title, the sounds and the music, takes the
// input of every monitor and ends the show once.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "forms/Button.h"
#include "forms/Form.h"
#include "forms/MediaPlayer.h"
#include "forms/Timer.h"
#include "saver/PictureSource.h"
#include "saver/Sequencer.h"
#include "saver/Settings.h"
#include "saver/MonitorLayout.h"
#include "saver/PictureMotion.h"
#include "saver/Surfaces.h"

class TAll_nmsg;
namespace picture {
class Loader;
}

class TMainForm : public forms::Form, private saver::SequencerHost {
 public:
  // previewParent: the control panel's preview window, or nullptr for a
  // full-screen run.
  explicit TMainForm(HWND previewParent = nullptr);
  ~TMainForm() override;

  // What a window on another monitor shows (the Monitors choice).
  enum class MonitorRole { Background, OwnPictures, Mirror };
  // A window on one more monitor (screen coordinates), made by the primary's.
  TMainForm(TMainForm& primary, const RECT& monitor, MonitorRole role);
  // True in a real run; cleared for the preview (no input, no sound).
  bool SaverSession = true;

  bool PreviewKey(const MSG& msg) override;

  // A pause of the show: a moving picture stops where it is on every
  // monitor, and goes on from there (MainFormMotion.cpp).
  void FreezeMotion();
  void ResumeMotion();

 protected:
  void FillCreateParams(forms::CreateParams& params) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  HBRUSH ClassBrush() const override { return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)); }
  void FormClose(forms::CloseAction& action) override;
  void FormDestroy() override;
  void FormPaint(HDC dc) override;
  void FormActivate() override;

 private:
  // MainForm.cpp: life cycle and input.
  void CreateWindowParts();
  void FormCreate();
  void FormKeyDown();
  void FormClick();
  void FormMouseMove();
  void PostToPrimary(UINT input);
  void Timer1Timer();
  void Timer2Timer();
  // MainFormShow.cpp
  void BuildBackground();
  void TakeBackground();
  SIZE ClientSize() const;
  // MainFormPassword.cpp
  void CloseWithPassword();
  // MainFormMonitors.cpp: the windows on the other monitors.
  void CreateOtherMonitors();
  void DropLostMonitors();
  void PlaceOnMirrors(POINT at, int effectCoin);
  saver::ImageLoad TakeMirrorLoads();
  saver::EffectStep MirrorSteps(const saver::EffectStep& own, bool appear, int kind, int steps, bool begin);
  // MainFormMotion.cpp: the picture moving while it stands (PanZoom).
  void PrepareMotion(POINT at);
  void RunMotion();
  void DrawMotionFrame();
  void SettleMotion();
  // MainFormMusic.cpp
  void MidiPlayerNotify();
  bool PlayMidiFile(const std::string& name);
  void StopSound();

  // SequencerHost (MainFormShow.cpp, MainFormTitle.cpp, MainFormMusic.cpp).
  bool InSaverSession() const override { return SaverSession; }
  void SetInterval(int ms) override;
  RECT ImageArea() const override;
  void StartImageLoad(const std::string& name) override;
  saver::ImageLoad TakeImageLoad() override;
  SIZE ImageSize() const override;
  void ApplyImagePalette() override;
  void PlacePicture(POINT at, int effectCoin) override;
  saver::EffectStep BeginEffect(bool appear, int kind) override;
  saver::EffectStep EffectSteps(bool appear, int kind, int steps) override;
  void PlayWave(const std::string& name) override;
  bool PlayMidiNumber(int n) override;
  void KeepScreenAsBackground() override;
  void BeginTitle(const saver::TitleLine& line) override;
  void TitleFrame(int k, saver::MixDirection direction) override;
  void EndTitle() override;
  bool InUse(const std::string& image) const override;

  const HWND previewParent_;
  TMainForm* const primary_ = nullptr;  // the show's window, for one on another monitor
  const MonitorRole role_ = MonitorRole::OwnPictures;
  const RECT monitor_;  // this window's monitor, screen coordinates
  RECT WindowBounds() const;  // its monitor, or the preview host's client area
  std::vector<std::unique_ptr<TMainForm>> others_;  // the primary's: one per other monitor
  std::vector<TMainForm*> mirrors_;  // those of them that show the primary's pictures
  saver::ImageLoad mirrorLoad_ = saver::ImageLoad::Running;  // a mirror's picture, taken ahead
  bool effectDone_ = false;  // a mirror's part of the running effect has ended
  // Controls keep the names the window is built from; the end-to-end tests
  // find them by these names.
  forms::Button TBarOffBtn;
  forms::MediaPlayer MidiPlayer;
  forms::Timer Timer1;
  forms::Timer Timer2;

  saver::SaverSettings theme_;
  saver::RandomFn random_;
  std::unique_ptr<TAll_nmsg> shownPicture_;  // the picture on show, once taken from the worker
  // Pictures of the show are read, decoded and fitted on its worker.
  std::unique_ptr<picture::Loader> pictureWorker_;
  static constexpr UINT kPictureLoaded = WM_APP + 20;
  // Input on another monitor, posted to the primary's window (wParam: the
  // message): the show may end, and this window with it, only after the
  // handler that saw the input has returned.
  static constexpr UINT kOtherMonitorInput = WM_APP + 21;
  unsigned loadTicket_ = 0;
  bool backgroundPending_ = false;  // the background picture is loading; the show waits
  std::string loadName_;   // the picture loading, or the last one loaded
  std::string shownName_;  // the picture on show
  std::unique_ptr<saver::Surfaces> drawing_;  // the bitmaps the show is drawn on
  picture::PixelImage motionCopy_;  // the worker's copy to move the taken picture in
  picture::SourceRect motionWhole_;  // the part of it the picture shows
  saver::PictureMotion motion_;      // the picture on show, moving
  forms::Bitmap titleOverlay_;  // title line over the background, during a fade
  RECT titleRect_ = {};

  std::unique_ptr<saver::PictureSource> pictures_;
  std::unique_ptr<saver::Sequencer> show_;
  int mouseMoves_ = 0;
  bool checkingPassword_ = false;
};
