// The theme section as text: every key in the file's order.
#include "settings/Theme.h"

namespace settings {

namespace {
class Lines {
 public:
  void Add(const char* name, const std::string& value) { entries_.emplace_back(name, value); }
  void Add(const std::string& name, const std::string& value) { entries_.emplace_back(name, value); }
  void Add(const char* name, int value) { Add(name, std::to_string(value)); }
  void Add(const char* name, bool value) { Add(name, std::string(value ? "1" : "0")); }
  // A count key followed by the numbered entries it counts.
  void AddList(const IntKey& count, const StrKey& entry, const std::vector<std::string>& values) {
    const int n = static_cast<int>(values.size());
    Add(count.name, n);
    for (int k = 0; k < n; ++k) Add(Numbered(entry.name, k), values[k]);
  }
  const IniText::Entries& Entries() const { return entries_; }

 private:
  IniText::Entries entries_;
};

IniText::Entries ThemeLines(const Theme& t) {
  Lines l;
  const TitleSettings& title = t.Title;
  l.Add(key::Title.name, title.Title);
  l.Add(key::TitleText0.name, title.Text[0]);
  l.Add(key::TitleText1.name, title.Text[1]);
  l.Add(key::TitleFontName0.name, title.FontName[0]);
  l.Add(key::TitleFontName1.name, title.FontName[1]);
  l.Add(key::TitleFontSize0.name, title.FontSize[0]);
  l.Add(key::TitleFontSize1.name, title.FontSize[1]);
  l.Add(key::TitleR.name, title.R);
  l.Add(key::TitleG.name, title.G);
  l.Add(key::TitleB.name, title.B);
  l.Add(key::TitleFadeInterval.name, title.FadeInterval);
  l.Add(key::TitleOnDelay.name, title.OnDelay);

  l.AddList(key::ImageCount, key::Image, t.Images);
  for (int k = 0; k < static_cast<int>(t.Images.size()); ++k) {
    // The lists are parallel; should they ever not be, "none" keeps the count honest.
    const bool has = k < static_cast<int>(t.Waves.size());
    l.Add(Numbered(key::Wave.name, k), has ? t.Waves[k] : std::string(kNone));
  }
  l.Add(key::ImageOrdRandom.name, t.ImageOrdRandom);
  l.Add(key::FromLastImage.name, t.FromLastImage);
  l.Add(key::LastImageNumber.name, t.LastImageNumber);
  if (!t.LastImageInFolder.empty()) l.Add(key::LastImageInFolder.name, t.LastImageInFolder);

  l.Add(key::BGM.name, t.BGM);
  l.AddList(key::MidiCount, key::Midi, t.Midis);
  l.Add(key::MidiOrdRandom.name, t.MidiOrdRandom);
  l.Add(key::FromLastMidi.name, t.FromLastMidi);
  l.Add(key::LastMidiNumber.name, t.LastMidiNumber);

  for (int k = 0; k < kEffectKinds; ++k) l.Add(key::EffectSwitch[k].appear.name, t.AppearOn[k]);
  l.Add(key::ImageFadeInSpeed.name, t.AppearSpeed);
  for (int k = 0; k < kEffectKinds; ++k) l.Add(key::EffectSwitch[k].erase.name, t.EraseOn[k]);
  l.Add(key::ImageFadeOutSpeed.name, t.EraseSpeed);
  l.Add(key::NotErase.name, t.NotErase);

  l.Add(key::ImagePosRandom.name, t.ImagePosRandom);
  l.Add(key::ImageFit.name, t.ImageFit);
  l.Add(key::Monitors.name, t.Monitors);
  l.Add(key::ShowKeys.name, t.ShowKeys);
  l.Add(key::Caption.name, t.Caption);
  l.Add(key::PanZoom.name, t.PanZoom);
  l.Add(key::BlurFill.name, t.BlurFill);
  l.Add(key::BackGround.name, t.BackGround);
  l.Add(key::BackColor.name, t.BackColor);
  l.Add(key::BackFileName.name, t.BackFileName);
  l.Add(key::FirstDelay.name, t.FirstDelay);
  l.Add(key::ImageOnDelay.name, t.ImageOnDelay);
  l.Add(key::ImageOffDelay.name, t.ImageOffDelay);
  return l.Entries();
}
}  // namespace

void WriteTheme(IniFile& ini, int n, const Theme& theme) {
  IniText text = ini.Load();
  text.ReplaceSection(ThemeSection(n), ThemeLines(theme));
  ini.Save(text);
}

}  // namespace settings
