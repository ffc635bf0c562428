// One theme section of the settings file as the theme settings dialog sees
// it: read whole when the dialog opens, checked whole before anything is
// erased, written whole (erase, then every key in the file's order) on OK.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "settings/IniFile.h"

struct ThemeRecord {
  using EffectSwitches = std::array<bool, settings::kEffectKindCount>;

  // Title: no control edits these; they go back as they were read.
  bool Title = true;
  std::string TitleText[2];
  std::string TitleFontName[2];
  int TitleFontSize[2] = {};
  int TitleR = 0, TitleG = 0, TitleB = 0;
  int TitleFadeInterval = 0;
  int TitleOnDelay = 0;

  // Image list and its parallel WAV list (same length).
  std::vector<std::string> Images;
  std::vector<std::string> Waves;
  bool ImageOrdRandom = true;
  bool FromLastImage = false;
  int LastImageNumber = 0;

  bool BGM = true;
  std::vector<std::string> Midis;
  bool MidiOrdRandom = true;
  bool FromLastMidi = false;
  int LastMidiNumber = 0;

  EffectSwitches Appear = {};
  int ImageFadeInSpeed = 0;
  EffectSwitches Erase = {};
  int ImageFadeOutSpeed = 0;
  bool NotErase = false;

  bool ImagePosRandom = true;
  bool ImageFit = true;
  int BackGround = 0;
  int BackColor = 0;
  std::string BackFileName;
  int FirstDelay = 0;
  int ImageOnDelay = 0;
  int ImageOffDelay = 0;
};

// Section Theme<n> with the dialog's defaults; the older single-effect keys
// ImageOnEffect / ImageOffEffect preset the switches they stand for.
ThemeRecord ReadTheme(const settings::IniFile& ini, int theme);

// Erases section Theme<n> and writes every key in the file's order. Raises
// forms::Error "%s に書き込めません" when the file refuses a write.
void WriteTheme(settings::IniFile& ini, int theme, const ThemeRecord& record);

// An older single-effect code applied to the eight switches: 0 none, 1 blind,
// 2 scroll, 3 stretch, 4 split slide, 5 mesh, 99 every kind but none and
// fade; any other code changes nothing.
void ApplyOlderEffectKey(int code, ThemeRecord::EffectSwitches& switches);
