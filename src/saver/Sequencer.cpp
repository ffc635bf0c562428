#include "saver/Sequencer.h"

#include <algorithm>
#include <memory>
#include <random>

namespace saver {

namespace {
// One part of an RGB colour from a hand-editable number.
int ColourPart(int v) { return std::min(std::max(v, 0), 255); }

// The alternative title, used one run in ten for the default texts.
const char kEasterText0[] = "れん ぷれぜんつ";
const char kEasterText1[] = "ぐりもーら★";
const char kEasterFont[] = "ＭＳ ゴシック";
}  // namespace

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

Sequencer::Sequencer(const SaverSettings& settings, PictureSource& pictures, MonitorHost& host,
                     ShowOutput* output, ClockFn clock, RandomFn random, InUseFn inUse)
    : settings_(settings),
      pictures_(pictures),
      host_(host),
      output_(output),
      inUse_(std::move(inUse)),
      clock_(std::move(clock)),
      random_(std::move(random)),
      appearChoice_(settings.AppearOn),
      eraseChoice_(settings.EraseOn),
      appearKind_(appearChoice_.Kind),
      eraseKind_(eraseChoice_.Kind) {
  easterTitle_ = random_(100) % 10 == 0;
  midis_.Count = settings.MidiCount;
  midis_.Random = settings.MidiOrdRandom;
  midis_.Next = settings.LastMidiNumber;
}

void Sequencer::Advance(ShowState state) {
  state_ = state;
  stateEntered_ = true;
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
      if (firstPass_) StartNextLoad();  // the first picture loads during the first delay
      Advance(firstPass_ ? S::FirstDelay : S::NextImage);
      firstPass_ = false;
      break;
    case S::FirstDelay: WaitStep(settings_.FirstDelay); break;
    case S::NextImage: NextImage(); break;
    case S::Appear: EffectTick(true); break;
    case S::PlaySound: PlayWave(); break;
    case S::ImageStands:
      if (!paused_) WaitStep(settings_.ImageOnDelay);
      break;
    case S::Erase: EffectTick(false); break;
    case S::ImageOff: WaitStep(settings_.ImageOffDelay); break;
  }
}

void Sequencer::WaitStep(int delay) {
  if (stateEntered_) {
    stateDeadline_ = clock_() + static_cast<DWORD>(delay);
    stateEntered_ = false;
  }
  // Signed difference: the tick count wraps after 49.7 days.
  if (static_cast<int32_t>(clock_() - stateDeadline_) < 0) return;
  if (state_ == ShowState::ImageOff) {
    if (midiOk_) {
      Advance(ShowState::NextImage);
    } else {
      midiOk_ = true;  // the music is restarted before the next image
      Advance(ShowState::StartMusic);
    }
  } else if (state_ == ShowState::ImageStands && settings_.NotErase) {
    host_.HideCaption();
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
  const int kind = appear ? appearKind_ : eraseKind_;
  EffectStep r;
  if (stateEntered_) {
    stateEntered_ = false;
    if (!appear) host_.HideCaption();
    r = host_.BeginEffect(appear, kind);
    if (!r.Done) return StartPace(r.NextInterval);
  } else {
    const int owed = pace_.TakeOwed(clock_());
    if (owed == 0) return;
    r = host_.EffectSteps(appear, kind, owed);
    if (!r.Done) return;
  }
  SetInterval(kIdleInterval);
  if (appear) host_.ShowCaption();
  Advance(Next(state_));
}

TitleLine Sequencer::ChooseTitleLine(int line) const {
  const TitleSettings& t = settings_.Title;
  const bool defaultTexts =
      t.Text[0] == settings::key::TitleText0.saver && t.Text[1] == settings::key::TitleText1.saver;
  TitleLine out;
  int r = t.R, g = t.G, b = t.B;
  if (easterTitle_ && defaultTexts) {
    out.FontName = kEasterFont;
    if (line == 0) {
      out.Text = kEasterText0;
      out.Height = 36;
      r = 183, g = 183, b = 255;
    } else {
      out.Text = kEasterText1;
      out.Height = 48;
      r = 255, g = 255, b = 183;
    }
  } else {
    out.Text = t.Text[line];
    out.FontName = t.FontName[line];
    out.Height = t.FontSize[line];
  }
  if (output_ && !output_->InSaverSession()) out.Height = line == 0 ? 12 : 24;
  out.Color = RGB(ColourPart(r), ColourPart(g), ColourPart(b));
  return out;
}

void Sequencer::TitleStep(int line, MixDirection direction) {
  if (stateEntered_) {
    if (output_) output_->BeginTitle(ChooseTitleLine(line));
    fadeStep_ = 0;
    stateEntered_ = false;
    StartPace(std::max(settings_.Title.FadeInterval, 1));
    return;
  }
  // Masks 0..16, then the closing step. Every mask is drawn over the whole
  // title, so a late tick draws only the last mask it owes.
  const int owed = pace_.TakeOwed(clock_());
  if (owed == 0) return;
  const int before = fadeStep_;
  fadeStep_ = std::min(fadeStep_ + owed, kFadeMasks + 1);
  if (before < kFadeMasks && output_) output_->TitleFrame(std::min(fadeStep_, kFadeMasks) - 1, direction);
  if (fadeStep_ <= kFadeMasks) return;
  if (output_) output_->EndTitle();
  Advance(Next(state_));
  SetInterval(kIdleInterval);
}

// Starts loading what comes after the picture on show: the next one of
// the history after a step back, else the source's next picture. Only the
// pick is drawn here; the coin and the effect kinds follow when the load is
// taken, so the random numbers come in the same order as when pictures
// loaded on the spot.
void Sequencer::StartNextLoad() {
  if (pictures_.Empty()) return;
  if (!history_.AtLatest()) return LoadFromHistory(history_.Place() + 1);
  loading_ = Loading::None;
  if (!haveNext_) {
    // Monitors sharing the source: no two show the same picture at once.
    next_ = pictures_.NextFree(next_.Image, inUse_);
    // Nothing found yet: no load (an empty one on every tick would keep the
    // worker and the window busy while the folders are read); NextImage asks
    // the source again on its next tick.
    haveNext_ = !next_.Waiting;
  }
  // A picture handed out before a step back is loaded again when the show
  // comes forward to it, so the source's order has no gap.
  if (!haveNext_) return;
  loading_ = Loading::Next;
  host_.StartImageLoad(next_.Image);
}

void Sequencer::LoadFromHistory(size_t place) {
  loading_ = Loading::History;
  historyTarget_ = place;
  host_.StartImageLoad(history_.At(place).Image);
}

void Sequencer::NextImage() {
  if (pictures_.Empty()) return;
  if (loading_ == Loading::None) StartNextLoad();
  if (loading_ == Loading::None) return;
  const ImageLoad load = host_.TakeImageLoad();
  if (load == ImageLoad::Running) return;  // the window answers meanwhile; asked again next tick
  const bool fromHistory = loading_ == Loading::History;
  loading_ = Loading::None;
  effectCoin_ = random_(100) % 2;
  appearKind_ = appearChoice_.Choose(random_);
  eraseKind_ = eraseChoice_.Choose(random_);
  if (fromHistory) {
    // Shown before, so the resume place has passed it already.
    history_.MoveTo(historyTarget_);
    waveName_ = history_.At(historyTarget_).Wave;
  } else {
    haveNext_ = false;
    pictures_.Taken(next_);
    waveName_ = next_.Wave;
  }
  // A picture that cannot be shown is passed over without a word: no
  // effect, no sound; the next tick picks again.
  if (load == ImageLoad::Failed) return;
  if (!fromHistory) history_.Add(next_);
  host_.ApplyImagePalette();
  PlaceImage();
  Advance(ShowState::Appear);
}

void Sequencer::StepForward() {
  using S = ShowState;
  if (state_ <= S::SecondLineOut) {
    // The title is skipped, its line taken off the screen.
    if (state_ != S::StartPause && output_) output_->EndTitle();
    host_.ClearPicture();
    SetInterval(kIdleInterval);
    Advance(S::StartMusic);
  } else if (state_ == S::FirstDelay) {
    Advance(S::NextImage);  // the first picture has been loading meanwhile
  } else if (state_ >= S::Appear) {
    GoAtOnce();
  }
}

void Sequencer::StepBack() {
  if (state_ < ShowState::NextImage || history_.Empty()) return;
  // Stepping back again before the last step's picture arrived goes on from that one.
  const bool backOnItsWay = loading_ == Loading::History && historyTarget_ < history_.Place();
  const size_t from = backOnItsWay ? historyTarget_ : history_.Place();
  if (from == 0) return;
  if (state_ != ShowState::NextImage) GoAtOnce();
  LoadFromHistory(from - 1);  // a load ahead is given up; its picture stays next_, shown when the show comes forward
}

// No erase effect and no off delay: the next tick of NextImage takes
// whatever is loaded.
void Sequencer::GoAtOnce() {
  host_.ClearPicture();
  SetInterval(kIdleInterval);
  Advance(ShowState::NextImage);
}

void Sequencer::SetPaused(bool paused) {
  if (paused == paused_) return;
  paused_ = paused;
  host_.SetPaused(paused);
  if (paused) {
    pausedAt_ = clock_();
  } else if (state_ == ShowState::ImageStands && !stateEntered_) {
    stateDeadline_ += clock_() - pausedAt_;  // the stand time stopped counting
  }
}

// Centred in the image area, or at a random place where the picture is
// smaller than the area.
void Sequencer::PlaceImage() {
  const RECT area = host_.ImageArea();
  const SIZE room = {area.right - area.left, area.bottom - area.top};
  const SIZE size = host_.ImageSize();
  POINT at;
  if (settings_.ImagePosRandom && size.cy < room.cy) {
    at.y = random_(room.cy - size.cy);
  } else {
    at.y = (room.cy - size.cy) / 2;
  }
  if (settings_.ImagePosRandom && size.cx < room.cx) {
    at.x = random_(room.cx - size.cx);
  } else {
    at.x = (room.cx - size.cx) / 2;
  }
  host_.PlacePicture({at.x + area.left, at.y + area.top}, effectCoin_);
}

void Sequencer::PlayWave() {
  if (output_ && output_->InSaverSession() && !paused_) output_->PlayWave(waveName_);
  StartNextLoad();  // the next picture loads while this one stands
  Advance(ShowState::ImageStands);
}

void Sequencer::MidiSet() {
  if (!settings_.BGM || midis_.Count <= 0) return;
  int b = midis_.Pick(random_);
  if (output_ && !output_->PlayMidiNumber(b)) midiOk_ = false;
}

RandomFn ClockSeededRandom() { return SeededRandom(GetTickCount()); }

RandomFn SeededRandom(unsigned seed) {
  auto engine = std::make_shared<std::mt19937>(seed);
  return [engine](int bound) {
    if (bound <= 0) return 0;
    return std::uniform_int_distribution<int>(0, bound - 1)(*engine);
  };
}

}  // namespace saver
