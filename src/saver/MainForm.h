// The saver window: over every monitor and topmost, or a child of the
// control panel's preview window. It owns the picture component, the stage (the
// bitmaps the show is drawn on), the two timers and the MIDI player, and
// hosts the sequencer that runs the show on them.
#pragma once
#include <memory>
#include <string>

#include "forms/Button.h"
#include "forms/Form.h"
#include "forms/MediaPlayer.h"
#include "forms/Timer.h"
#include "saver/PictureSource.h"
#include "saver/Sequencer.h"
#include "saver/Settings.h"
#include "saver/ScreenLayout.h"
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
  // True in a real run; cleared for the preview (no input, no sound).
  bool SaverSession = true;

  bool PreviewKey(const MSG& msg) override;

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
  void FormCreate();
  void FormKeyDown();
  void FormClick();
  void FormMouseMove();
  void Timer1Timer();
  void Timer2Timer();
  // MainFormShow.cpp
  void BuildBackground();
  SIZE ClientSize() const;
  // MainFormPassword.cpp
  void CloseWithPassword();
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

  const HWND previewParent_;
  const saver::ScreenLayout monitors_;  // the monitors when the window was made
  RECT WindowBounds() const;  // every monitor, or the preview host's client area
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
  unsigned loadTicket_ = 0;
  std::string loadName_;
  std::unique_ptr<saver::Surfaces> drawing_;  // the bitmaps the show is drawn on
  forms::Bitmap titleOverlay_;  // title line over the background, during a fade
  RECT titleRect_ = {};

  std::unique_ptr<saver::PictureSource> pictures_;
  std::unique_ptr<saver::Sequencer> show_;
  int mouseMoves_ = 0;
  bool checkingPassword_ = false;
};
