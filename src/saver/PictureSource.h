// The pictures of the show, handed out one at a time: the theme's
// Image<n>/Wave<n> list, where a folder entry stands for the pictures in the
// folder and its subfolders (found in the background, see ShowEntries).
// List order takes the entries in order and a folder's pictures in
// Explorer's order; random order never gives the same entry twice in a
// row, and once the list holds a folder it deals shuffled rounds across all
// pictures: each once before any comes again. The saver window owns it;
// every sequencer it runs draws from it on the window's thread, so a second
// sequencer takes the picture after the first one's, not the same one.
//
// It also keeps the resume place that closing writes back: a picture
// counts only once a sequencer reports it taken, so the one loading ahead
// is shown again next time.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "library/ShuffledRounds.h"
#include "saver/Playlist.h"
#include "saver/Settings.h"
#include "saver/ShowEntries.h"

namespace saver {

// True when another monitor of the show has this picture on screen or loading.
using InUseFn = std::function<bool(const std::string& image)>;

struct ShowPicture {
  std::string Image;  // the file; empty when the entry has none
  bool Waiting = false;  // nothing to hand out yet (a folder still being read): ask again later
  std::string Wave;   // its sound; empty when none
  int Resume = 0;     // the resume number once this picture has been taken
  std::string ResumeInFolder;  // with Resume: the last picture taken inside that folder entry
  unsigned Serial = 0;  // the order it was handed out in
};

class PictureSource {
 public:
  PictureSource(const SaverSettings& theme, RandomFn random);

  bool Empty() const { return entries_.Count() <= 0; }
  // How many pictures the list holds as far as the walks have come.
  int Count() const;
  // The next picture; call only when not Empty(). While a folder is still
  // being read and has nothing new yet, or every entry is an empty folder,
  // the picture is Waiting: nothing is loaded, it is asked again later and
  // the place does not move.
  ShowPicture Next();
  // The next picture no other monitor has on screen or loading, while the
  // list has such a one to give; else the first one handed out that is not
  // `showing` (this monitor's own). Call only when not Empty().
  ShowPicture NextFree(const std::string& showing, const InUseFn& inUse);
  // A sequencer has taken the picture (shown it, or passed it over).
  void Taken(const ShowPicture& picture);
  // What closing stores as LastImageNumber and LastImageInFolder.
  int ResumeNumber() const { return resume_; }
  const std::string& ResumeInFolder() const { return resumeInFolder_; }

 private:
  struct Slot {  // one picture of random order: an entry, and the picture's number in its folder
    int entry;
    uint32_t inFolder;
  };
  ShowPicture NextInList();
  ShowPicture NextAtRandom();
  ShowPicture Unmoved() const;
  ShowPicture Waiting() const;
  void AddFoundSlots();
  void StepEntry();

  ShowEntries entries_;
  RandomFn random_;
  bool randomOrder_;
  int resume_;
  unsigned handedOut_ = 0;  // pictures handed out so far
  unsigned lastTaken_ = 0;  // Serial of the latest picture taken
  std::string resumeInFolder_;
  // List order: the entry, the next picture inside a folder entry, and the
  // picture to go on after once the walk has come that far.
  int entry_ = 0;
  size_t inFolder_ = 0;
  std::string seekAfter_;
  // Random order: a list of files keeps its draw (never one picture twice in a
  // row); once a folder is in the list, shuffled rounds over all pictures.
  Playlist draw_;
  std::vector<Slot> slots_;
  std::vector<size_t> slotsTaken_;  // per Named() entry: its pictures already in slots_
  library::ShuffledRounds rounds_;
};

}  // namespace saver
