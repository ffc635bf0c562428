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

void Sequencer::Advance(uint8_t state) {
  ShowState = state;
  StateEntered = true;
}

void Sequencer::Tick() {
  const TitleSettings& t = settings_.Title;
  switch (ShowState) {
    case 0: WaitStep(kStartPause); break;
    case 1:
      if (t.Title) {
        TitleStep(0, MixDirection::In);
      } else {
        Advance(8);
      }
      break;
    case 2: WaitStep(t.OnDelay); break;
    case 3: TitleStep(0, MixDirection::Out); break;
    case 4: WaitStep(kLinePause); break;
    case 5: TitleStep(1, MixDirection::In); break;
    case 6: WaitStep(t.OnDelay); break;
    case 7: TitleStep(1, MixDirection::Out); break;
    case 8:
      MidiSet();
      if (FirstPass) {
        FirstPass = false;
        Advance(9);
      } else {
        Advance(10);
      }
      break;
    case 9: WaitStep(settings_.FirstDelay); break;
    case 10: NextImage(); break;
    case 11: host_.AppearStep(AppearKind); break;
    case 12: PlayWave(); break;
    case 13: WaitStep(settings_.ImageOnDelay); break;
    case 14: host_.EraseStep(EraseKind); break;
    case 15: WaitStep(settings_.ImageOffDelay); break;
    default: Advance(10); break;  // cannot happen; never stall
  }
}

void Sequencer::WaitStep(int delay) {
  if (StateEntered) {
    StateDeadline = clock_() + static_cast<DWORD>(delay);
    StateEntered = false;
  }
  // Signed difference: the tick count wraps after 49.7 days.
  if (static_cast<int32_t>(clock_() - StateDeadline) < 0) return;
  if (ShowState == 15) {
    if (MidiOk) {
      Advance(10);
    } else {
      MidiOk = true;  // the music is restarted before the next image
      Advance(8);
    }
  } else if (ShowState == 13 && settings_.NotErase) {
    host_.KeepScreenAsBackground();
    Advance(15);
  } else {
    Advance(static_cast<uint8_t>(ShowState + 1));
  }
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
    host_.SetInterval(std::max(settings_.Title.FadeInterval, 1));
    host_.BeginTitle(ChooseTitleLine(line));
    FadeStep = 0;
    StateEntered = false;
    return;
  }
  if (FadeStep < kFadeMasks) {
    host_.TitleFrame(FadeStep, direction);
    ++FadeStep;
    return;
  }
  host_.EndTitle();
  Advance(static_cast<uint8_t>(ShowState + 1));
  host_.SetInterval(kIdleInterval);
}

void Sequencer::NextImage() {
  if (Images.Count <= 0) return;
  int n = Images.Pick(random_);
  EffectCoin = random_(100) % 2;
  AppearKind = Appear.Choose(random_);
  EraseKind = Erase.Choose(random_);

  std::string image;
  host_.ReadImageEntry(n, image, WaveName);
  try {
    host_.LoadImage(image);
  } catch (const std::exception&) {
    return;  // skipped without a word; the next tick picks again
  }
  host_.ApplyImagePalette();

  SIZE client = host_.ClientSize();
  SIZE size = host_.ImageSize();
  if (settings_.ImagePosRandom && size.cy < client.cy) {
    ImageTop = random_(client.cy - size.cy);
  } else {
    ImageTop = (client.cy - size.cy) / 2;
  }
  if (settings_.ImagePosRandom && size.cx < client.cx) {
    ImageLeft = random_(client.cx - size.cx);
  } else {
    ImageLeft = (client.cx - size.cx) / 2;
  }
  Advance(11);
}

void Sequencer::PlayWave() {
  if (host_.InSaverSession()) host_.PlayWave(WaveName);
  Advance(13);
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
