// The theme settings the saver window reads once, when it is created: the
// theme record, the Main keys that belong to the show, and the theme's
// section itself, in which the numbered entries are looked up.
#pragma once
#include <string>

#include "settings/Theme.h"

namespace saver {

using TitleSettings = settings::TitleSettings;

struct SaverSettings : settings::Theme {
  int ThemeNumber = settings::key::ThemeNumber.saver;
  std::string Section;  // "Theme" + ThemeNumber
  int CloseMouseMove = settings::key::CloseMouseMove.saver;  // 0 .. kMaxCloseMouseMove
  settings::Section Entries;  // the theme's keys, for Image n, Wave n and Midi n (Entries.Read)

  // The resume numbers go back only into one of the ten themes a user can
  // choose; a hand-set number outside them shows its section but writes nothing.
  bool CanWriteBack() const { return ThemeNumber >= 0 && ThemeNumber < settings::kThemeCount; }
};

// More moves than this within a second always end the show.
constexpr int kMaxCloseMouseMove = 255;

// Reads section Main and the theme's section, each in one read.
SaverSettings ReadSaverSettings(const settings::IniFile& ini);

}  // namespace saver
