#include "dialogs/ThemeRecord.h"

using namespace settings;

namespace {
enum Kind { kNormal, kBlind, kScroll, kStretch, kSlide, kHalfSlide, kMesh, kFade };
constexpr Role kDialog = Role::Dialog;
}  // namespace

void ApplyOlderEffectKey(int code, ThemeRecord::EffectSwitches& s) {
  // The older layout knew one effect per image; its codes name these kinds.
  switch (code) {
    case 0: s[kNormal] = true; s[kBlind] = false; break;
    case 1: s[kBlind] = true; break;
    case 2: s[kBlind] = false; s[kScroll] = true; break;
    case 3: s[kBlind] = false; s[kStretch] = true; break;
    case 4: s[kBlind] = false; s[kHalfSlide] = true; break;
    case 5: s[kBlind] = false; s[kMesh] = true; break;
    case 99:
      for (int k : {kBlind, kScroll, kStretch, kSlide, kHalfSlide, kMesh}) s[k] = true;
      break;
    default: break;
  }
}

ThemeRecord ReadTheme(const IniFile& ini, int theme) {
  const std::string sec = ThemeSection(theme);
  ThemeRecord r;
  r.Title = ini.Read(sec, key::Title, kDialog);
  r.TitleText[0] = ini.Read(sec, key::TitleText0, kDialog);
  r.TitleText[1] = ini.Read(sec, key::TitleText1, kDialog);
  r.TitleFontName[0] = ini.Read(sec, key::TitleFontName0, kDialog);
  r.TitleFontName[1] = ini.Read(sec, key::TitleFontName1, kDialog);
  r.TitleFontSize[0] = ini.Read(sec, key::TitleFontSize0, kDialog);
  r.TitleFontSize[1] = ini.Read(sec, key::TitleFontSize1, kDialog);
  r.TitleR = ini.Read(sec, key::TitleR, kDialog);
  r.TitleG = ini.Read(sec, key::TitleG, kDialog);
  r.TitleB = ini.Read(sec, key::TitleB, kDialog);
  r.TitleFadeInterval = ini.Read(sec, key::TitleFadeInterval, kDialog);
  r.TitleOnDelay = ini.Read(sec, key::TitleOnDelay, kDialog);

  const int images = ini.Read(sec, key::ImageCount, kDialog);
  for (int k = 0; k < images; ++k)
    r.Images.push_back(ini.ReadString(sec, Numbered(key::Image.name, k), key::Image.Default(kDialog)));
  for (int k = 0; k < images; ++k)
    r.Waves.push_back(ini.ReadString(sec, Numbered(key::Wave.name, k), key::Wave.Default(kDialog)));
  r.ImageOrdRandom = ini.Read(sec, key::ImageOrdRandom, kDialog);
  r.FromLastImage = ini.Read(sec, key::FromLastImage, kDialog);
  r.LastImageNumber = ini.Read(sec, key::LastImageNumber, kDialog);

  r.BGM = ini.Read(sec, key::BGM, kDialog);
  const int midis = ini.Read(sec, key::MidiCount, kDialog);
  for (int k = 0; k < midis; ++k)
    r.Midis.push_back(ini.ReadString(sec, Numbered(key::Midi.name, k), key::Midi.Default(kDialog)));
  r.MidiOrdRandom = ini.Read(sec, key::MidiOrdRandom, kDialog);
  r.FromLastMidi = ini.Read(sec, key::FromLastMidi, kDialog);
  r.LastMidiNumber = ini.Read(sec, key::LastMidiNumber, kDialog);

  for (int k = 0; k < kEffectKindCount; ++k) r.Appear[k] = ini.Read(sec, key::AppearSwitch[k], kDialog);
  r.ImageFadeInSpeed = ini.Read(sec, key::ImageFadeInSpeed, kDialog);
  for (int k = 0; k < kEffectKindCount; ++k) r.Erase[k] = ini.Read(sec, key::EraseSwitch[k], kDialog);
  r.ImageFadeOutSpeed = ini.Read(sec, key::ImageFadeOutSpeed, kDialog);
  r.NotErase = ini.Read(sec, key::NotErase, kDialog);

  r.ImagePosRandom = ini.Read(sec, key::ImagePosRandom, kDialog);
  r.ImageFit = ini.Read(sec, key::ImageFit, kDialog);
  r.BackGround = ini.Read(sec, key::BackGround, kDialog);
  r.BackColor = ini.Read(sec, key::BackColor, kDialog);
  r.BackFileName = ini.Read(sec, key::BackFileName, kDialog);
  r.FirstDelay = ini.Read(sec, key::FirstDelay, kDialog);
  r.ImageOnDelay = ini.Read(sec, key::ImageOnDelay, kDialog);
  r.ImageOffDelay = ini.Read(sec, key::ImageOffDelay, kDialog);

  ApplyOlderEffectKey(ini.Read(sec, key::ImageOnEffect, kDialog), r.Appear);
  ApplyOlderEffectKey(ini.Read(sec, key::ImageOffEffect, kDialog), r.Erase);
  return r;
}

void WriteTheme(IniFile& ini, int theme, const ThemeRecord& r) {
  const std::string sec = ThemeSection(theme);
  ini.EraseSection(sec);
  ini.WriteBool(sec, key::Title.name, r.Title);
  ini.WriteString(sec, key::TitleText0.name, r.TitleText[0]);
  ini.WriteString(sec, key::TitleText1.name, r.TitleText[1]);
  ini.WriteString(sec, key::TitleFontName0.name, r.TitleFontName[0]);
  ini.WriteString(sec, key::TitleFontName1.name, r.TitleFontName[1]);
  ini.WriteInteger(sec, key::TitleFontSize0.name, r.TitleFontSize[0]);
  ini.WriteInteger(sec, key::TitleFontSize1.name, r.TitleFontSize[1]);
  ini.WriteInteger(sec, key::TitleR.name, r.TitleR);
  ini.WriteInteger(sec, key::TitleG.name, r.TitleG);
  ini.WriteInteger(sec, key::TitleB.name, r.TitleB);
  ini.WriteInteger(sec, key::TitleFadeInterval.name, r.TitleFadeInterval);
  ini.WriteInteger(sec, key::TitleOnDelay.name, r.TitleOnDelay);

  const int images = static_cast<int>(r.Images.size());
  ini.WriteInteger(sec, key::ImageCount.name, images);
  for (int k = 0; k < images; ++k) ini.WriteString(sec, Numbered(key::Image.name, k), r.Images[k]);
  for (int k = 0; k < images; ++k) {
    // The lists are parallel; should they ever not be, "none" keeps the count honest.
    const bool has = k < static_cast<int>(r.Waves.size());
    ini.WriteString(sec, Numbered(key::Wave.name, k), has ? r.Waves[k] : std::string(kNone));
  }
  ini.WriteBool(sec, key::ImageOrdRandom.name, r.ImageOrdRandom);
  ini.WriteBool(sec, key::FromLastImage.name, r.FromLastImage);
  ini.WriteInteger(sec, key::LastImageNumber.name, r.LastImageNumber);

  ini.WriteBool(sec, key::BGM.name, r.BGM);
  const int midis = static_cast<int>(r.Midis.size());
  ini.WriteInteger(sec, key::MidiCount.name, midis);
  for (int k = 0; k < midis; ++k) ini.WriteString(sec, Numbered(key::Midi.name, k), r.Midis[k]);
  ini.WriteBool(sec, key::MidiOrdRandom.name, r.MidiOrdRandom);
  ini.WriteBool(sec, key::FromLastMidi.name, r.FromLastMidi);
  ini.WriteInteger(sec, key::LastMidiNumber.name, r.LastMidiNumber);

  for (int k = 0; k < kEffectKindCount; ++k) ini.WriteBool(sec, key::AppearSwitch[k].name, r.Appear[k]);
  ini.WriteInteger(sec, key::ImageFadeInSpeed.name, r.ImageFadeInSpeed);
  for (int k = 0; k < kEffectKindCount; ++k) ini.WriteBool(sec, key::EraseSwitch[k].name, r.Erase[k]);
  ini.WriteInteger(sec, key::ImageFadeOutSpeed.name, r.ImageFadeOutSpeed);
  ini.WriteBool(sec, key::NotErase.name, r.NotErase);

  ini.WriteBool(sec, key::ImagePosRandom.name, r.ImagePosRandom);
  ini.WriteInteger(sec, key::BackGround.name, r.BackGround);
  ini.WriteInteger(sec, key::BackColor.name, r.BackColor);
  ini.WriteString(sec, key::BackFileName.name, r.BackFileName);
  ini.WriteInteger(sec, key::FirstDelay.name, r.FirstDelay);
  ini.WriteInteger(sec, key::ImageOnDelay.name, r.ImageOnDelay);
  ini.WriteInteger(sec, key::ImageOffDelay.name, r.ImageOffDelay);
}
