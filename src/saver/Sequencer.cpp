#include "saver/Sequencer.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <random>

namespace saver {

namespace {
// bound x 10 without overflow for absurd list sizes.
int TenTimes(int bound) { return bound > INT_MAX / 10 ? INT_MAX : bound * 10; }

int Clamp251(int v) { return std::min(std::max(v, 0), 251); }

// The alternative title, used one run in ten for the default texts.
const char kEasterText0[] = "れん ぷれぜんつ";
const char kEasterText1[] = "ぐりもーら★";
const char kEasterFont[] = "ＭＳ ゴシック";
const char kDefaultText0[] = "Wren presents";
const char kDefaultText1[] = "Glimora";
}  // namespace

int Playlist::Pick(const RandomFn& random) {
  if (Count == 1) return 0;
  if (Random) {
    int n = random(TenTimes(Count)) % Count;
    if (n == LastRandom) {
      if (random(10) % 2 == 0) {
        n = n >= Count - 1 ? 0 : n + 1;
      } else {
        n = n <= 0 ? Count - 1 : n - 1;
      }
    }
    LastRandom = n;
    return n;
  }
  int n = Next;
  Next = n < Count - 1 ? n + 1 : 0;
  return n;
}

EffectChoice::EffectChoice(const bool (&on)[kEffectKinds]) {
  for (int k = 0; k < kEffectKinds; ++k) {
    On[k] = on[k];
    if (on[k]) {
      ++Enabled;
      Kind = k;
    }
  }
}

int EffectChoice::Choose(const RandomFn& random) {
  if (Enabled <= 1) return Kind;
  int k = random(80) % kEffectKinds;
  int step = random(10) % 2 == 0 ? 1 : kEffectKinds - 1;  // upward, or downward with wrap
  while (k == Last || !On[k]) k = (k + step) % kEffectKinds;
  Kind = Last = k;
  return k;
}

Sequencer::Sequencer(const SaverSettings& settings, SequencerHost& host, ClockFn clock,
                     RandomFn random)
    : Appear(settings.AppearOn),
      Erase(settings.EraseOn),
      AppearKind(Appear.Kind),
      EraseKind(Erase.Kind),
      settings_(settings),
      host_(host),
      clock_(std::move(clock)),
      random_(std::move(random)) {
  EasterTitle = random_(100) % 10 == 0;
  Images.Count = settings.ImageCount;
  Images.Random = settings.ImageOrdRandom;
  Images.Next = settings.LastImageNumber;
  Midis.Count = settings.MidiCount;
  Midis.Random = settings.MidiOrdRandom;
  Midis.Next = settings.LastMidiNumber;
}

void Sequencer::Advance(ShowState state) {
  state_ = state;
  StateEntered = true;
}

void Sequencer::SetInterval(int ms) {
  if (ms == interval_) return;
  interval_ = ms;
  host_.SetInterval(ms);
}

void Sequencer::StartPace(int interval) {
  pace_.Start(clock_(), interval);
  SetInterval(pace_.Interval());
}

void Sequencer::Tick() {
  const TitleSettings& t = settings_.Title;
  using S = ShowState;
  switch (state_) {
    case S::StartPause: WaitStep(kStartPause); break;
    case S::FirstLineIn:
      if (t.Title) {
        TitleStep(0, MixDirection::In);
      } else {
        Advance(S::StartMusic);
      }
      break;
    case S::FirstLineStands: WaitStep(t.OnDelay); break;
    case S::FirstLineOut: TitleStep(0, MixDirection::Out); break;
    case S::LinePause: WaitStep(kLinePause); break;
    case S::SecondLineIn: TitleStep(1, MixDirection::In); break;
    case S::SecondLineStands: WaitStep(t.OnDelay); break;
    case S::SecondLineOut: TitleStep(1, MixDirection::Out); break;
    case S::StartMusic:
      MidiSet();
      if (FirstPass) StartNextLoad();  // the first picture loads during the first delay
      Advance(FirstPass ? S::FirstDelay : S::NextImage);
      FirstPass = false;
      break;
    case S::FirstDelay: WaitStep(settings_.FirstDelay); break;
    case S::NextImage: NextImage(); break;
    case S::Appear: EffectTick(true); break;
    case S::PlaySound: PlayWave(); break;
    case S::ImageStands: WaitStep(settings_.ImageOnDelay); break;
    case S::Erase: EffectTick(false); break;
    case S::ImageOff: WaitStep(settings_.ImageOffDelay); break;
  }
}

void Sequencer::WaitStep(int delay) {
  if (StateEntered) {
    StateDeadline = clock_() + static_cast<DWORD>(delay);
    StateEntered = false;
  }
  // Signed difference: the tick count wraps after 49.7 days.
  if (static_cast<int32_t>(clock_() - StateDeadline) < 0) return;
  if (state_ == ShowState::ImageOff) {
    if (MidiOk) {
      Advance(ShowState::NextImage);
    } else {
      MidiOk = true;  // the music is restarted before the next image
      Advance(ShowState::StartMusic);
    }
  } else if (state_ == ShowState::ImageStands && settings_.NotErase) {
    host_.KeepScreenAsBackground();
    Advance(ShowState::ImageOff);
  } else {
    Advance(Next(state_));
  }
}

// The set-up call fixes the step interval; every later tick draws the steps
// that the time since the set-up calls for, so a late tick catches up
// instead of putting off every step after it.
void Sequencer::EffectTick(bool appear) {
  const int kind = appear ? AppearKind : EraseKind;
  EffectStep r;
  if (StateEntered) {
    StateEntered = false;
    r = host_.BeginEffect(appear, kind);
    if (!r.Done) return StartPace(r.NextInterval);
  } else {
    const int owed = pace_.TakeOwed(clock_());
    if (owed == 0) return;
    r = host_.EffectSteps(appear, kind, owed);
    if (!r.Done) return;
  }
  SetInterval(kIdleInterval);
  Advance(Next(state_));
}

TitleLine Sequencer::ChooseTitleLine(int line) {
  TitleSettings& t = settings_.Title;
  TitleLine out;
  if (EasterTitle && t.Text[0] == kDefaultText0 && t.Text[1] == kDefaultText1) {
    out.FontName = kEasterFont;
    if (line == 0) {
      out.Text = kEasterText0;
      out.Height = 36;
      t.R = 183, t.G = 183, t.B = 255;
    } else {
      out.Text = kEasterText1;
      out.Height = 48;
      t.R = 255, t.G = 255, t.B = 183;
    }
  } else {
    out.Text = t.Text[line];
    out.FontName = t.FontName[line];
    out.Height = t.FontSize[line];
  }
  if (!host_.InSaverSession()) out.Height = line == 0 ? 12 : 24;
  // Never pure white: white is the key colour of the stage.
  t.R = Clamp251(t.R), t.G = Clamp251(t.G), t.B = Clamp251(t.B);
  out.Color = RGB(t.R, t.G, t.B);
  return out;
}

void Sequencer::TitleStep(int line, MixDirection direction) {
  if (StateEntered) {
    host_.BeginTitle(ChooseTitleLine(line));
    FadeStep = 0;
    StateEntered = false;
    StartPace(std::max(settings_.Title.FadeInterval, 1));
    return;
  }
  // Masks 0..16, then the closing step. Every mask is drawn over the whole
  // title, so a late tick draws only the last mask it owes.
  const int owed = pace_.TakeOwed(clock_());
  if (owed == 0) return;
  const int before = FadeStep;
  FadeStep = std::min(FadeStep + owed, kFadeMasks + 1);
  if (before < kFadeMasks) host_.TitleFrame(std::min(FadeStep, kFadeMasks) - 1, direction);
  if (FadeStep <= kFadeMasks) return;
  host_.EndTitle();
  Advance(Next(state_));
  SetInterval(kIdleInterval);
}

// Picks the next picture and starts loading it. Only the pick is drawn
// here; the coin and the effect kinds follow when the load is taken, so the
// random numbers come in the same order as when pictures loaded on the spot.
void Sequencer::StartNextLoad() {
  if (Images.Count <= 0) return;
  resumeNumber_ = Images.Next;
  const int n = Images.Pick(random_);
  std::string image;
  host_.ReadImageEntry(n, image, nextWave_);
  host_.StartImageLoad(image);
  loadingAhead_ = true;
}

void Sequencer::NextImage() {
  if (Images.Count <= 0) return;
  if (!loadingAhead_) StartNextLoad();
  const ImageLoad load = host_.TakeImageLoad();
  if (load == ImageLoad::Running) return;  // the window answers meanwhile; asked again next tick
  loadingAhead_ = false;
  EffectCoin = random_(100) % 2;
  AppearKind = Appear.Choose(random_);
  EraseKind = Erase.Choose(random_);
  WaveName = nextWave_;
  // A picture that cannot be shown is passed over without a word: no
  // effect, no sound; the next tick picks again.
  if (load == ImageLoad::Failed) return;
  host_.ApplyImagePalette();

  const RECT area = host_.ImageArea();
  const SIZE room = {area.right - area.left, area.bottom - area.top};
  const SIZE size = host_.ImageSize();
  if (settings_.ImagePosRandom && size.cy < room.cy) {
    ImageTop = random_(room.cy - size.cy);
  } else {
    ImageTop = (room.cy - size.cy) / 2;
  }
  if (settings_.ImagePosRandom && size.cx < room.cx) {
    ImageLeft = random_(room.cx - size.cx);
  } else {
    ImageLeft = (room.cx - size.cx) / 2;
  }
  ImageLeft += area.left;
  ImageTop += area.top;
  host_.StageImage({ImageLeft, ImageTop}, EffectCoin);
  Advance(ShowState::Appear);
}

void Sequencer::PlayWave() {
  if (host_.InSaverSession()) host_.PlayWave(WaveName);
  StartNextLoad();  // the next picture loads while this one stands
  Advance(ShowState::ImageStands);
}

void Sequencer::MidiSet() {
  if (!settings_.BGM || Midis.Count <= 0) return;
  int b = Midis.Pick(random_);
  if (!host_.PlayMidiNumber(b)) MidiOk = false;
}

RandomFn ClockSeededRandom() {
  auto engine = std::make_shared<std::mt19937>(GetTickCount());
  return [engine](int bound) {
    if (bound <= 0) return 0;
    return std::uniform_int_distribution<int>(0, bound - 1)(*engine);
  };
}

}  // namespace saver
