// The theme settings the saver window reads once, when it is created.
#pragma once
#include <string>

#include "settings/IniFile.h"

namespace saver {

struct TitleSettings {
  bool Title = true;
  std::string Text[2];
  std::string FontName[2];
  int FontSize[2] = {48, 96};
  int R = 255, G = 255, B = 255;
  int FadeInterval = 100;
  int OnDelay = 1500;
};

struct SaverSettings {
  int ThemeNumber = 10;
  std::string Section;         // "Theme" + ThemeNumber
  unsigned char CloseMouseMove = 4;

  TitleSettings Title;

  int ImageCount = 0;
  bool ImageOrdRandom = true;
  int LastImageNumber = 0;     // 0 unless FromLastImage
  bool ImagePosRandom = true;
  bool ImageFit = true;
  bool AppearOn[8] = {};
  bool EraseOn[8] = {};
  int FadeInSpeed = 400, FadeOutSpeed = 400;
  bool NotErase = false;
  int FirstDelay = 4000, ImageOnDelay = 3000, ImageOffDelay = 2000;

  bool BGM = true;
  int MidiCount = 0;
  bool MidiOrdRandom = true;
  int LastMidiNumber = 0;      // 0 unless FromLastMidi
};

// Reads section Main and the theme's section (the title keys only when
// Title is on, the last numbers only when the matching switch is on).
SaverSettings ReadSaverSettings(const settings::IniFile& ini);

}  // namespace saver
