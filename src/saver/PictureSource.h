// The pictures of the show, handed out one at a time: the theme's
// Image<n>/Wave<n> list in list order, or in random order that never gives
// the same entry twice in a row. The saver window owns it; every sequencer
// it runs draws from it on the window's thread, so a second sequencer takes
// the picture after the first one's, not the same one.
//
// It also keeps the resume number that closing writes back: a picture
// counts only once a sequencer reports it taken, so the one loading ahead
// is shown again next time.
#pragma once
#include <string>

#include "saver/Playlist.h"
#include "saver/Settings.h"

namespace saver {

struct ShowPicture {
  std::string Image;  // the file; empty when the entry has no Image<n>
  std::string Wave;   // its sound; empty when none
  int Resume = 0;     // the resume number once this picture has been taken
};

class PictureSource {
 public:
  PictureSource(const SaverSettings& theme, RandomFn random);

  bool Empty() const { return order_.Count <= 0; }
  int Count() const { return order_.Count; }
  // The next picture; call only when not Empty().
  ShowPicture Next();
  // A sequencer has taken the picture (shown it, or passed it over).
  void Taken(const ShowPicture& picture) { resume_ = picture.Resume; }
  // The number closing stores as LastImageNumber.
  int ResumeNumber() const { return resume_; }

 private:
  std::string Entry(const settings::StrKey& list, int n) const;

  Playlist order_;
  int resume_;
  settings::Section entries_;
  RandomFn random_;
};

}  // namespace saver
