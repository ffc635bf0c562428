#include "saver/Settings.h"

namespace saver {

using settings::Role;
namespace key = settings::key;

SaverSettings ReadSaverSettings(const settings::IniFile& ini) {
  SaverSettings s;
  const Role r = Role::Saver;
  s.ThemeNumber = ini.Read(settings::kMainSection, key::ThemeNumber, r);
  s.CloseMouseMove = static_cast<unsigned char>(ini.Read(settings::kMainSection, key::CloseMouseMove, r));
  s.Section = settings::ThemeSection(s.ThemeNumber);
  const std::string& sec = s.Section;

  TitleSettings& t = s.Title;
  t.Title = ini.Read(sec, key::Title, r);
  if (t.Title) {
    t.Text[0] = ini.Read(sec, key::TitleText0, r);
    t.Text[1] = ini.Read(sec, key::TitleText1, r);
    t.FontName[0] = ini.Read(sec, key::TitleFontName0, r);
    t.FontName[1] = ini.Read(sec, key::TitleFontName1, r);
    t.FontSize[0] = ini.Read(sec, key::TitleFontSize0, r);
    t.FontSize[1] = ini.Read(sec, key::TitleFontSize1, r);
    t.R = ini.Read(sec, key::TitleR, r);
    t.G = ini.Read(sec, key::TitleG, r);
    t.B = ini.Read(sec, key::TitleB, r);
    t.FadeInterval = ini.Read(sec, key::TitleFadeInterval, r);
    t.OnDelay = ini.Read(sec, key::TitleOnDelay, r);
  }

  s.ImageCount = ini.Read(sec, key::ImageCount, r);
  s.ImageOrdRandom = ini.Read(sec, key::ImageOrdRandom, r);
  if (ini.Read(sec, key::FromLastImage, r)) s.LastImageNumber = ini.Read(sec, key::LastImageNumber, r);
  s.ImagePosRandom = ini.Read(sec, key::ImagePosRandom, r);
  s.ImageFit = ini.Read(sec, key::ImageFit, r);
  for (int k = 0; k < settings::kEffectKindCount; ++k) {
    s.AppearOn[k] = ini.Read(sec, key::AppearSwitch[k], r);
    s.EraseOn[k] = ini.Read(sec, key::EraseSwitch[k], r);
  }
  s.FadeInSpeed = ini.Read(sec, key::ImageFadeInSpeed, r);
  s.FadeOutSpeed = ini.Read(sec, key::ImageFadeOutSpeed, r);
  s.NotErase = ini.Read(sec, key::NotErase, r);
  s.FirstDelay = ini.Read(sec, key::FirstDelay, r);
  s.ImageOnDelay = ini.Read(sec, key::ImageOnDelay, r);
  s.ImageOffDelay = ini.Read(sec, key::ImageOffDelay, r);

  s.BGM = ini.Read(sec, key::BGM, r);
  s.MidiCount = ini.Read(sec, key::MidiCount, r);
  s.MidiOrdRandom = ini.Read(sec, key::MidiOrdRandom, r);
  if (ini.Read(sec, key::FromLastMidi, r)) s.LastMidiNumber = ini.Read(sec, key::LastMidiNumber, r);
  return s;
}

}  // namespace saver
