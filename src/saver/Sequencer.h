// The slide-show sequencer: a state machine of ShowState that runs on every
// Timer2 tick and never blocks. It owns the show's state and Timer2's
// interval; the effects only report {done, next interval}. Its pictures come
// from a PictureSource; everything it draws, loads or plays goes through
// MonitorHost (its monitor's window) and, for the one sequencer that has it,
// ShowOutput (title, music, sounds); the clock and the random source are
// handed in, so tests can drive it tick by tick.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "saver/Pace.h"
#include "saver/PictureSource.h"
#include "saver/Playlist.h"
#include "saver/Settings.h"
#include "saver/ShowHistory.h"
#include "saver/effects/Effects.h"

namespace saver {

// The states of the show, in the order a run passes through them.
enum class ShowState : uint8_t {
  StartPause,       // a moment of background before anything else
  FirstLineIn,      // title line 0 fades in
  FirstLineStands,
  FirstLineOut,
  LinePause,        // between the two title lines
  SecondLineIn,
  SecondLineStands,
  SecondLineOut,
  StartMusic,
  FirstDelay,       // once, before the first picture
  NextImage,        // pick and load a picture (one attempt per tick)
  Appear,
  PlaySound,
  ImageStands,
  Erase,
  ImageOff,         // the pause after a picture went
};
constexpr ShowState Next(ShowState s) { return static_cast<ShowState>(static_cast<int>(s) + 1); }

// Milliseconds of the system tick count.
using ClockFn = std::function<DWORD()>;

// Choice of one effect kind among the switched-on ones; never the same
// kind twice in a row when two or more are on.
struct EffectChoice {
  explicit EffectChoice(const bool (&on)[kEffectKinds]);
  int Choose(const RandomFn& random);
  bool On[kEffectKinds];
  int Enabled = 0;  // how many kinds are switched on
  int Kind = Blind;  // the last switched-on kind; Blind when none is
  int Last = -1;
};

// One title line as it is drawn: text, font, cell height and colour.
struct TitleLine {
  std::string Text;
  std::string FontName;
  int Height = 0;
  COLORREF Color = 0;
};

// How the picture loading in the background stands.
enum class ImageLoad { Running, Ready, Failed };

// What each monitor's show needs: one window, or the mirroring host over
// several (see MonitorWindow, MirrorHost).
class MonitorHost {
 public:
  virtual ~MonitorHost() = default;
  virtual void SetInterval(int ms) = 0;  // Timer2
  // Where pictures are placed: the window's whole client area.
  virtual RECT ImageArea() const = 0;
  // Starts reading the file in the background (fitted to ImageArea() when
  // the theme asks); a load still running is given up. Never raises.
  virtual void StartImageLoad(const std::string& name) = 0;
  // The load started last: still running, or finished. Ready: the window
  // now holds the picture. Failed (never an exception): the file is
  // missing, of an unknown kind, unreadable or broken, or the name is empty.
  virtual ImageLoad TakeImageLoad() = 0;
  virtual SIZE ImageSize() const = 0;
  // Gives Back, Screen and Work the picture's palette.
  virtual void ApplyImagePalette() = 0;
  // The picture's place and coin, fixed for its appear and erase effects.
  virtual void PlacePicture(POINT at, int effectCoin) = 0;
  // The set-up call of the appear (erase) routine of a kind.
  virtual EffectStep BeginEffect(bool appear, int kind) = 0;
  // The next `steps` steps (at least one) of the running effect, drawn as
  // one tick: the screen ends as it would after each of them in turn. The
  // report is that of the last step taken (fewer when the effect ends).
  virtual EffectStep EffectSteps(bool appear, int kind, int steps) = 0;
  // The client-area part of Screen becomes the background.
  virtual void KeepScreenAsBackground() = 0;
  // The caption of the picture, once it has appeared; it goes before the
  // erase (or before the screen is kept as the background).
  virtual void ShowCaption() = 0;
  virtual void HideCaption() = 0;
  // A step: the picture (or the title) goes at once, caption and all, and
  // the screen shows the background.
  virtual void ClearPicture() = 0;
  // The show on this monitor is paused or goes on: whatever moves by itself
  // on the window (pan and zoom) holds still meanwhile.
  virtual void SetPaused(bool paused) = 0;
};

// What only the show's one output does: the title, the music, the WAV
// sounds. One sequencer of a show gets it; the others pace through the
// title as the first does, with nothing to draw or play.
class ShowOutput {
 public:
  virtual ~ShowOutput() = default;
  virtual bool InSaverSession() const = 0;  // false in the preview: no sound, a small title
  virtual void PlayWave(const std::string& name) = 0;
  // Plays Midi<n>; false when it could not be started.
  virtual bool PlayMidiNumber(int n) = 0;
  // Title fade: build the stage (set-up tick), draw mask k, free the stage.
  virtual void BeginTitle(const TitleLine& line) = 0;
  virtual void TitleFrame(int k, MixDirection direction) = 0;  // mask k, 0..16
  virtual void EndTitle() = 0;
};

class Sequencer {
 public:
  // output: nullptr for every sequencer of a show but one. inUse: what
  // the show's other monitors have on screen or loading (empty: nothing).
  Sequencer(const SaverSettings& settings, PictureSource& pictures, MonitorHost& host, ShowOutput* output,
            ClockFn clock, RandomFn random, InUseFn inUse = {});

  // Timer2Timer: runs the step of the current state.
  void Tick();
  // Picks the next MIDI file and starts it (StartMusic and every completion notice).
  void MidiSet();
  // Text, font, height and colour of title line 0 or 1.
  TitleLine ChooseTitleLine(int line) const;

  // The show keys. Forward: the picture (or the title) goes at once and the
  // next one appears as soon as it has loaded. Back: the picture shown
  // before, through the latest ShowHistory::kKept; nothing at the first.
  // Neither moves the resume place back.
  void StepForward();
  void StepBack();
  // Paused, the show runs on until a picture stands and holds it there;
  // going on gives it the rest of its stand time. No WAV starts meanwhile.
  void SetPaused(bool paused);
  bool Paused() const { return paused_; }

  ShowState State() const { return state_; }
  // Interval Timer2 runs at now.
  int Interval() const { return interval_; }
  // The number closing stores as LastMidiNumber.
  int NextMidiNumber() const { return midis_.Next; }

  static constexpr int kStartPause = 700;  // StartPause
  static constexpr int kLinePause = 500;   // LinePause, between the two lines
  static constexpr int kFadeMasks = 17;    // masks 0..16 of the Fade band

 private:
  void WaitStep(int delay);
  void TitleStep(int line, MixDirection direction);
  void EffectTick(bool appear);
  void NextImage();
  void PlaceImage();
  void StartNextLoad();
  void LoadFromHistory(size_t place);
  void GoAtOnce();
  void PlayWave();
  void Advance(ShowState state);
  void SetInterval(int ms);
  void StartPace(int interval);

  const SaverSettings settings_;
  PictureSource& pictures_;
  MonitorHost& host_;
  ShowOutput* const output_;
  InUseFn inUse_;
  ClockFn clock_;
  RandomFn random_;

  ShowState state_ = ShowState::StartPause;
  bool stateEntered_ = true;
  DWORD stateDeadline_ = 0;
  bool firstPass_ = true;
  bool midiOk_ = true;
  bool easterTitle_ = false;
  Playlist midis_;
  EffectChoice appearChoice_;
  EffectChoice eraseChoice_;
  int appearKind_;
  int eraseKind_;
  int effectCoin_ = 0;
  int fadeStep_ = 0;  // title fade masks drawn, 0..17
  // What is loading: nothing, the next picture of the source, or one of
  // the history (stepping back, and forward again after that).
  enum class Loading { None, Next, History };
  Loading loading_ = Loading::None;
  bool haveNext_ = false;      // next_ is handed out and not yet taken
  ShowPicture next_;           // the source's next picture
  size_t historyTarget_ = 0;   // the place in history_ that is loading
  ShowHistory history_;
  bool paused_ = false;
  DWORD pausedAt_ = 0;
  std::string waveName_;       // the sound of the picture on show
  int interval_ = kIdleInterval;
  Pace pace_;  // of the running effect or title fade
};

// A generator seeded once per window from the clock.
RandomFn ClockSeededRandom();
// A generator of its own for each further window, seeded from the first.
RandomFn SeededRandom(unsigned seed);

}  // namespace saver
