#include "settings/ResumeWrite.h"

namespace settings {

void WriteResumePlace(IniFile& ini, const std::string& section, const ResumePlace& place) {
  ini.WriteInteger(section, key::LastImageNumber.name, place.imageNumber);
  if (!place.imageInFolder.empty()) {
    ini.WriteString(section, key::LastImageInFolder.name, place.imageInFolder);
  } else if (ini.ReadString(section, key::LastImageInFolder.name, "\x01") != "\x01") {
    // Rare (a folder entry's place, then a theme without one): the whole-file route.
    IniText text = ini.Load();
    text.EraseKey(section, key::LastImageInFolder.name);
    ini.Save(text);
  }
  ini.WriteInteger(section, key::LastMidiNumber.name, place.midiNumber);
}

}  // namespace settings
