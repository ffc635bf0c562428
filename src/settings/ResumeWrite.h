// Where the next show of a theme goes on: written when a show closes. One
// rule for the three keys, the rule a saved theme follows: LastImageNumber
// and LastMidiNumber always, LastImageInFolder only when the place lies
// inside a folder entry (else the key goes, so no stale place survives).
#pragma once
#include <string>

#include "settings/IniFile.h"

namespace settings {

struct ResumePlace {
  int imageNumber = 0;
  std::string imageInFolder;
  int midiNumber = 0;
};

// Raises forms::Error "%s に書き込めません" when the file cannot be written;
// the file is then left whole.
void WriteResumePlace(IniFile& ini, const std::string& section, const ResumePlace& place);

}  // namespace settings
