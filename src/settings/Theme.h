// One theme section of the settings file, as both the saver and the theme
// settings dialog see it. The defaults are the key catalogue's; ReadTheme
// applies each reader's own rules (see there).
#pragma once
#include <string>
#include <vector>

#include "settings/IniFile.h"

namespace settings {

using EffectSwitches = bool[kEffectKinds];

struct TitleSettings {
  bool Title = key::Title.saver;
  std::string Text[2];
  std::string FontName[2];
  int FontSize[2] = {key::TitleFontSize0.saver, key::TitleFontSize1.saver};
  int R = key::TitleR.saver, G = key::TitleG.saver, B = key::TitleB.saver;
  int FadeInterval = key::TitleFadeInterval.saver;
  int OnDelay = key::TitleOnDelay.saver;
};

struct Theme {
  TitleSettings Title;

  // ImageCount as stored; the lists hold the entries below it that are in
  // the file, in number order, each image with its WAV sound (the dialog's view).
  int ImageCount = key::ImageCount.saver;
  std::vector<std::string> Images;
  std::vector<std::string> Waves;
  bool ImageOrdRandom = key::ImageOrdRandom.saver;
  bool FromLastImage = key::FromLastImage.saver;
  int LastImageNumber = key::LastImageNumber.saver;
  std::string LastImageInFolder;

  bool BGM = key::BGM.saver;
  int MidiCount = key::MidiCount.saver;
  std::vector<std::string> Midis;
  bool MidiOrdRandom = key::MidiOrdRandom.saver;
  bool FromLastMidi = key::FromLastMidi.saver;
  int LastMidiNumber = key::LastMidiNumber.saver;

  EffectSwitches AppearOn = {};
  int AppearSpeed = key::ImageFadeInSpeed.saver;
  EffectSwitches EraseOn = {};
  int EraseSpeed = key::ImageFadeOutSpeed.saver;
  bool NotErase = key::NotErase.saver;

  bool ImagePosRandom = key::ImagePosRandom.saver;
  bool ImageFit = key::ImageFit.saver;
  int Monitors = key::Monitors.saver;  // a MonitorsMode; anything else is read as kEachOwn
  bool ShowKeys = false;
  int Caption = key::Caption.saver;    // a CaptionMode; anything else is read as kNoCaption
  bool PanZoom = false;
  bool BlurFill = false;
  int BackGround = key::BackGround.saver;
  int BackColor = key::BackColor.saver;
  std::string BackFileName;
  int FirstDelay = key::FirstDelay.saver;
  int ImageOnDelay = key::ImageOnDelay.saver;
  int ImageOffDelay = key::ImageOffDelay.saver;
};

// The longest wait the saver takes from the file: one day. Hand-edited
// delays are held to 0 .. kMaxDelay, so no value stops the show for weeks.
constexpr int kMaxDelay = 24 * 60 * 60 * 1000;

// Section Theme<n> (or an already read section) with the reader's defaults.
// The saver reads the title keys only when Title is on, the last numbers
// only when their From switch is on, holds the delays to 0 .. kMaxDelay,
// and leaves the lists empty (it looks entries up by number). The dialog
// fills the lists and lets the older ImageOnEffect / ImageOffEffect keys
// preset the switches they stand for.
Theme ReadTheme(const IniFile& ini, int n, Role role);
Theme ReadTheme(const Section& section, Role role);

// Section Theme<n> replaced whole, every key in the file's order, the rest of
// the file untouched; all or nothing. Raises forms::Error "%s に書き込めません".
void WriteTheme(IniFile& ini, int n, const Theme& theme);

// An older single-effect code applied to the eight switches: 0 none, 1 blind,
// 2 scroll, 3 stretch, 4 split slide, 5 mesh, 99 every kind but none and
// fade; any other code changes nothing.
void ApplyOlderEffectKey(int code, EffectSwitches& switches);

}  // namespace settings
