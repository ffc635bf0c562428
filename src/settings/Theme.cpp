#include "settings/Theme.h"

#include <algorithm>
#include <string>

namespace settings {

namespace {
int Clamped(int value, int low, int high) { return std::min(std::max(value, low), high); }

// Every key of the record as the file holds it, with the reader's defaults.
Theme ReadKeys(const Section& s, Role r) {
  Theme t;
  TitleSettings& title = t.Title;
  title.Title = s.Read(key::Title, r);
  title.Text[0] = s.Read(key::TitleText0, r);
  title.Text[1] = s.Read(key::TitleText1, r);
  title.FontName[0] = s.Read(key::TitleFontName0, r);
  title.FontName[1] = s.Read(key::TitleFontName1, r);
  title.FontSize[0] = s.Read(key::TitleFontSize0, r);
  title.FontSize[1] = s.Read(key::TitleFontSize1, r);
  title.R = s.Read(key::TitleR, r);
  title.G = s.Read(key::TitleG, r);
  title.B = s.Read(key::TitleB, r);
  title.FadeInterval = s.Read(key::TitleFadeInterval, r);
  title.OnDelay = s.Read(key::TitleOnDelay, r);
  t.ImageCount = s.Read(key::ImageCount, r);
  t.ImageOrdRandom = s.Read(key::ImageOrdRandom, r);
  t.FromLastImage = s.Read(key::FromLastImage, r);
  t.LastImageNumber = s.Read(key::LastImageNumber, r);
  t.LastImageInFolder = s.Read(key::LastImageInFolder, r);
  t.BGM = s.Read(key::BGM, r);
  t.MidiCount = s.Read(key::MidiCount, r);
  t.MidiOrdRandom = s.Read(key::MidiOrdRandom, r);
  t.FromLastMidi = s.Read(key::FromLastMidi, r);
  t.LastMidiNumber = s.Read(key::LastMidiNumber, r);
  for (int k = 0; k < kEffectKinds; ++k) {
    t.AppearOn[k] = s.Read(key::EffectSwitch[k].appear, r);
    t.EraseOn[k] = s.Read(key::EffectSwitch[k].erase, r);
  }
  t.AppearSpeed = s.Read(key::ImageFadeInSpeed, r);
  t.EraseSpeed = s.Read(key::ImageFadeOutSpeed, r);
  t.NotErase = s.Read(key::NotErase, r);
  t.ImagePosRandom = s.Read(key::ImagePosRandom, r);
  t.ImageFit = s.Read(key::ImageFit, r);
  t.Monitors = s.Read(key::Monitors, r);
  if (t.Monitors < kPrimaryOnly || t.Monitors > kAllSame) t.Monitors = key::Monitors.Default(r);
  t.ShowKeys = s.Read(key::ShowKeys, r);
  t.Caption = s.Read(key::Caption, r);
  if (t.Caption < kNoCaption || t.Caption > kCaptionDateAndName) t.Caption = kNoCaption;
  t.PanZoom = s.Read(key::PanZoom, r);
  t.BlurFill = s.Read(key::BlurFill, r);
  t.BackGround = s.Read(key::BackGround, r);
  t.BackColor = s.Read(key::BackColor, r);
  t.BackFileName = s.Read(key::BackFileName, r);
  t.FirstDelay = s.Read(key::FirstDelay, r);
  t.ImageOnDelay = s.Read(key::ImageOnDelay, r);
  t.ImageOffDelay = s.Read(key::ImageOffDelay, r);
  return t;
}

// The saver keeps the title only when it is on and a resume number only
// when its show resumes; the others stay at their defaults.
void ForgetUnused(Theme& t) {
  if (!t.Title.Title) {
    t.Title = TitleSettings();
    t.Title.Title = false;
  }
  if (!t.FromLastImage) {
    t.LastImageNumber = key::LastImageNumber.saver;
    t.LastImageInFolder.clear();
  }
  if (!t.FromLastMidi) t.LastMidiNumber = key::LastMidiNumber.saver;
}

void ReadLists(const Section& s, Role r, Theme& t) {
  for (const auto& [n, image] : s.List(key::Image, t.ImageCount)) {
    t.Images.push_back(image);
    t.Waves.push_back(s.Read(key::Wave, n, r));
  }
  for (const auto& entry : s.List(key::Midi, t.MidiCount)) t.Midis.push_back(entry.second);
}

// The saver's waits come from hand-editable numbers: none below 0 or above a day.
void ClampDelays(Theme& t) {
  for (int* delay : {&t.Title.FadeInterval, &t.Title.OnDelay, &t.FirstDelay, &t.ImageOnDelay, &t.ImageOffDelay})
    *delay = Clamped(*delay, 0, kMaxDelay);
}
}  // namespace

void ApplyOlderEffectKey(int code, EffectSwitches& s) {
  // The older layout knew one effect per image; its codes name these kinds.
  switch (code) {
    case 0: s[Normal] = true; s[Blind] = false; break;
    case 1: s[Blind] = true; break;
    case 2: s[Blind] = false; s[Scroll] = true; break;
    case 3: s[Blind] = false; s[Stretch] = true; break;
    case 4: s[Blind] = false; s[HalfSlide] = true; break;
    case 5: s[Blind] = false; s[Mesh] = true; break;
    case 99:
      for (int k : {Blind, Scroll, Stretch, Slide, HalfSlide, Mesh}) s[k] = true;
      break;
    default: break;
  }
}

Theme ReadTheme(const IniFile& ini, int n, Role role) { return ReadTheme(ini.ReadSection(ThemeSection(n)), role); }

Theme ReadTheme(const Section& s, Role r) {
  Theme t = ReadKeys(s, r);
  if (r == Role::Saver) {
    ForgetUnused(t);
    ClampDelays(t);
  } else {
    ReadLists(s, r, t);
    ApplyOlderEffectKey(s.Read(key::ImageOnEffect, r), t.AppearOn);
    ApplyOlderEffectKey(s.Read(key::ImageOffEffect, r), t.EraseOn);
  }
  return t;
}
}  // namespace settings
