#include "saver/Settings.h"

#include <algorithm>

namespace saver {

using settings::Role;
namespace key = settings::key;

SaverSettings ReadSaverSettings(const settings::IniFile& ini) {
  SaverSettings s;
  const settings::Section main = ini.ReadSection(settings::kMainSection);
  s.ThemeNumber = main.Read(key::ThemeNumber, Role::Saver);
  s.CloseMouseMove = std::min(std::max(main.Read(key::CloseMouseMove, Role::Saver), 0), kMaxCloseMouseMove);
  s.Section = settings::ThemeSection(s.ThemeNumber);
  s.Entries = ini.ReadSection(s.Section);
  static_cast<settings::Theme&>(s) = settings::ReadTheme(s.Entries, Role::Saver);
  return s;
}

}  // namespace saver
