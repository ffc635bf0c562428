// The saver's window on one monitor (or inside the control panel's preview):
// topmost, borderless, covering its monitor. It owns what is drawn there —
// the surfaces, the picture on show, its loader and background load, Timer2
// and the painting at its monitor's DPI — and offers them to one show as a
// MonitorHost. It knows no other window, no sequencer and no picture
// source: input, ticks, finished loads and closing go to its WindowSink.
#pragma once
#include <memory>
#include <string>

#include "forms/Button.h"
#include "forms/Form.h"
#include "forms/Timer.h"
#include "picture/PixelImage.h"
#include "picture/Resample.h"
#include "saver/PictureMotion.h"
#include "picture/PictureFacts.h"
#include "saver/CaptionOverlay.h"
#include "saver/Sequencer.h"
#include "saver/Settings.h"
#include "saver/Surfaces.h"
#include "saver/WindowSink.h"

class TAll_nmsg;
namespace picture {
class Loader;
}

namespace saver {

struct WindowPlace {
  const char* className;  // "TMainForm" for the show's window, the one a second start finds
  RECT monitor;           // screen coordinates (unused in the preview)
  HWND parent;            // the preview's host window, or the owner of a top-level window
  bool preview;
};

class MonitorWindow : public forms::Form, public MonitorHost {
 public:
  MonitorWindow(const WindowPlace& place, const SaverSettings& theme, RandomFn random, WindowSink& sink);
  ~MonitorWindow() override;

  const RECT& Monitor() const { return place_.monitor; }
  bool BackgroundPending() const { return backgroundPending_; }
  // The picture loading (or last loaded), and the picture on show.
  const std::string& Loading() const { return loadName_; }
  const std::string& Shown() const { return shownName_; }
  Surfaces& Drawing() { return *drawing_; }
  // The show ends here: Timer2 stops and a load in flight is abandoned
  // (its plug-in asked to stop).
  void StopShow();
  // A pause of the show: the picture moving here (PanZoom) stops where it
  // is, and goes on from there.
  void FreezeMotion() { motion_.Freeze(MotionClock()); }
  void ResumeMotion() { motion_.Resume(MotionClock()); }
  // The pause mark at the upper right for about a second (on: shown, off: taken away).
  void ShowPauseMark(bool on);
  // Paused by SetPaused: anything on the window that moves by itself holds
  // still while this is true.
  bool Paused() const { return paused_; }

  bool PreviewKey(const MSG& msg) override;

  // MonitorHost
  void SetInterval(int ms) override;
  RECT ImageArea() const override;
  void StartImageLoad(const std::string& name) override;
  ImageLoad TakeImageLoad() override;
  SIZE ImageSize() const override;
  void ApplyImagePalette() override;
  void PlacePicture(POINT at, int effectCoin) override;
  EffectStep BeginEffect(bool appear, int kind) override;
  EffectStep EffectSteps(bool appear, int kind, int steps) override;
  void KeepScreenAsBackground() override;
  void ShowCaption() override;
  void HideCaption() override;
  void ClearPicture() override;
  void SetPaused(bool paused) override;

 protected:
  void FillCreateParams(forms::CreateParams& params) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  HBRUSH ClassBrush() const override { return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)); }
  void FormClose(forms::CloseAction& action) override;
  void FormDestroy() override;
  void FormPaint(HDC dc) override;
  void FormActivate() override;

 private:
  RECT WindowBounds() const;  // its monitor, or the preview host's client area
  SIZE ClientSize() const;
  void BuildBackground();
  void TakeBackground();
  void PostInput(UINT message, WPARAM wp);
  void RunMotion();
  void DrawOverlays(HDC target, const RECT& drawn) const;

  const WindowPlace place_;
  const SaverSettings& theme_;
  WindowSink& sink_;
  RandomFn random_;  // the effects' own generator, shared: where each move heads
  // Controls keep the names the end-to-end tests find them by.
  forms::Button TBarOffBtn;
  forms::Timer Timer2;
  forms::Timer PauseMarkTimer;  // takes the pause mark away again

  std::unique_ptr<Surfaces> drawing_;  // the bitmaps the show is drawn on
  std::unique_ptr<TAll_nmsg> shownPicture_;  // the picture on show, once taken from the worker
  std::unique_ptr<picture::Loader> pictureWorker_;  // reads, decodes and fits off this thread
  static constexpr UINT kPictureLoaded = WM_APP + 20;
  static constexpr UINT kInput = WM_APP + 21;  // wParam: the message, lParam: its wParam
  unsigned loadTicket_ = 0;
  bool backgroundPending_ = false;  // the background picture is loading; the show waits
  std::string loadName_;
  std::string shownName_;
  // PanZoom: the worker's copy to move the taken picture in, the part of it
  // the picture shows, and the picture on show moving (PictureMotion.h).
  picture::PixelImage motionCopy_;
  picture::SourceRect motionWhole_;
  PictureMotion motion_;
  picture::PictureFacts shownFacts_;  // what the caption says of the picture on show
  CaptionOverlay caption_;
  bool pauseMark_ = false;
  bool paused_ = false;
};

}  // namespace saver
