#include "settings/Theme.h"

#include <algorithm>
#include <map>
#include <string>

#include <windows.h>

namespace settings {

namespace {
// The number n of a key spelt base + n in plain decimal ("Image12"), or -1.
int NumberAfter(const char* base, const std::string& name) {
  const size_t len = std::char_traits<char>::length(base);
  if (name.size() <= len || name.size() > len + 10 || lstrcmpiA(name.substr(0, len).c_str(), base) != 0) return -1;
  const std::string digits = name.substr(len);
  if (digits.find_first_not_of("0123456789") != std::string::npos || (digits.size() > 1 && digits[0] == '0'))
    return -1;
  const long long n = std::stoll(digits);
  return n <= 0x7FFFFFFF ? static_cast<int>(n) : -1;
}

// The numbered entries base0 .. base<count-1> that are in the section, in number order.
std::map<int, std::string> NumberedEntries(const Section& s, const char* base, int count) {
  std::map<int, std::string> found;
  for (const auto& [name, value] : s.Entries()) {
    const int n = NumberAfter(base, name);
    if (n >= 0 && n < count) found.emplace(n, value);
  }
  return found;
}

// A switch that is on only when it says 1: a hand-edited 2 or "yes" is off.
bool OnlyOne(const Section& s, const BoolKey& key) { return s.Integer(key.name, 0) == 1; }

int Clamped(int value, int low, int high) { return std::min(std::max(value, low), high); }

void ReadTitle(const Section& s, Role r, TitleSettings& t) {
  t.Text[0] = s.Read(key::TitleText0, r);
  t.Text[1] = s.Read(key::TitleText1, r);
  t.FontName[0] = s.Read(key::TitleFontName0, r);
  t.FontName[1] = s.Read(key::TitleFontName1, r);
  t.FontSize[0] = s.Read(key::TitleFontSize0, r);
  t.FontSize[1] = s.Read(key::TitleFontSize1, r);
  t.R = s.Read(key::TitleR, r);
  t.G = s.Read(key::TitleG, r);
  t.B = s.Read(key::TitleB, r);
  t.FadeInterval = s.Read(key::TitleFadeInterval, r);
  t.OnDelay = s.Read(key::TitleOnDelay, r);
}

void ReadLists(const Section& s, Role r, Theme& t) {
  for (const auto& [n, image] : NumberedEntries(s, key::Image.name, t.ImageCount)) {
    t.Images.push_back(image);
    t.Waves.push_back(s.String(Numbered(key::Wave.name, n), key::Wave.Default(r)));
  }
  for (const auto& entry : NumberedEntries(s, key::Midi.name, t.MidiCount)) t.Midis.push_back(entry.second);
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
  const bool saver = r == Role::Saver;
  Theme t;
  t.Title.Title = s.Read(key::Title, r);
  if (t.Title.Title || !saver) ReadTitle(s, r, t.Title);

  t.ImageCount = s.Read(key::ImageCount, r);
  t.ImageOrdRandom = s.Read(key::ImageOrdRandom, r);
  t.FromLastImage = s.Read(key::FromLastImage, r);
  if (t.FromLastImage || !saver) {
    t.LastImageNumber = s.Read(key::LastImageNumber, r);
    t.LastImageInFolder = s.Read(key::LastImageInFolder, r);
  }

  t.BGM = s.Read(key::BGM, r);
  t.MidiCount = s.Read(key::MidiCount, r);
  t.MidiOrdRandom = s.Read(key::MidiOrdRandom, r);
  t.FromLastMidi = s.Read(key::FromLastMidi, r);
  if (t.FromLastMidi || !saver) t.LastMidiNumber = s.Read(key::LastMidiNumber, r);

  for (int k = 0; k < kEffectKinds; ++k) {
    t.AppearOn[k] = s.Read(key::AppearSwitch[k], r);
    t.EraseOn[k] = s.Read(key::EraseSwitch[k], r);
  }
  t.AppearSpeed = s.Read(key::ImageFadeInSpeed, r);
  t.EraseSpeed = s.Read(key::ImageFadeOutSpeed, r);
  t.NotErase = s.Read(key::NotErase, r);

  t.ImagePosRandom = s.Read(key::ImagePosRandom, r);
  t.ImageFit = s.Read(key::ImageFit, r);
  t.Monitors = s.Read(key::Monitors, r);
  if (t.Monitors < kPrimaryOnly || t.Monitors > kAllSame) t.Monitors = key::Monitors.Default(r);
  // Both read as off unless they hold a value they know, so a file from
  // before they existed (or edited by hand) shows the show as it was.
  t.ShowKeys = s.Read(key::ShowKeys, r) == 1;
  t.Caption = s.Read(key::Caption, r);
  if (t.Caption < kNoCaption || t.Caption > kCaptionDateAndName) t.Caption = kNoCaption;
  t.PanZoom = OnlyOne(s, key::PanZoom);
  t.BlurFill = OnlyOne(s, key::BlurFill);
  t.BackGround = s.Read(key::BackGround, r);
  t.BackColor = s.Read(key::BackColor, r);
  t.BackFileName = s.Read(key::BackFileName, r);
  t.FirstDelay = s.Read(key::FirstDelay, r);
  t.ImageOnDelay = s.Read(key::ImageOnDelay, r);
  t.ImageOffDelay = s.Read(key::ImageOffDelay, r);

  if (saver) {
    ClampDelays(t);
  } else {
    ReadLists(s, r, t);
    ApplyOlderEffectKey(s.Read(key::ImageOnEffect, r), t.AppearOn);
    ApplyOlderEffectKey(s.Read(key::ImageOffEffect, r), t.EraseOn);
  }
  return t;
}
}  // namespace settings
