// Pictures loaded on a worker thread: the file is read, decoded and, when
// asked, fitted there, and the GUI thread only takes over the finished
// bitmap. A finished load is announced by posting a message to a window.
//
// At most one load runs at a time, and at most one decode in the whole
// process; starting another cancels the one in flight. The decode itself
// runs on a guarded thread (GuardedDecode.h): one that overruns its time
// limit or crashes comes back as a failed load, and the worker goes on.
// Destroying the loader abandons its worker: the worker is never waited
// for, asks its plug-in to stop, posts nothing more, frees a result nobody
// takes and releases its plug-in when the decode it is in returns. Creating
// the loader throws std::system_error when no thread can be started.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "picture/NativeFormats.h"
#include "picture/PixelImage.h"
#include "picture/Resample.h"
#include "picture/PictureFacts.h"

namespace picture {

struct LoadRequest {
  std::string fileName;
  SIZE fitTo = {0, 0};  // shrink to fit this area when larger; {0, 0}: own size
  SIZE cropTo = {0, 0};  // keep only the top-left part this size (a tiled background)
  // A picture of the show on a monitor of this image area: with fillBars
  // it comes back area-sized, the bars beside it filled with a blurred copy
  // of itself; with motionZoom > 1 a copy to move in comes with it
  // (picture/Staging.h).
  SIZE area = {0, 0};
  bool fillBars = false;
  double motionZoom = 1;
  bool readFacts = false;  // also the file's name and date for a caption
};

struct LoadResult {
  std::string fileName;
  int error = 0;        // 0 success, else the picture component's Error value
  std::string message;  // the user's message for a failure
  LoadedPicture picture;
  int orgWidth = 0, orgHeight = 0;  // the picture's full size, before any reduction
  bool paletteMade = false;
  PixelImage motion;  // the copy a moving picture's frames come from; empty: it stands still
  SourceRect motionWhole;  // the part of it the picture shows standing still
  PictureFacts facts;  // when asked for, of a picture that loaded
};

// Decoding failures that the component raises instead of reporting
// (unreadable files, resources running out) come back with this Error.
constexpr int kLoadRaised = -1;
// A load stopped by its cancel check: no picture.
constexpr int kLoadCancelled = -2;

// The work of one load, on whatever thread calls it: decode with canvas as
// the reference DC, then fit. Never throws; cancelled() is asked while a
// plug-in decodes, between stages and while fitting (a cancelled load
// returns no picture). Without fitTo the picture keeps its own size, and a
// plug-in hands over its reduced preview only when the full picture is too
// large to hold.
LoadResult LoadPictureFile(const LoadRequest& request, HDC canvas, const std::function<bool()>& cancelled);

struct LoaderShared;

class Loader {
 public:
  // Finished loads post message to window with lParam = the load's ticket.
  Loader(HWND window, UINT message);
  ~Loader();
  Loader(const Loader&) = delete;
  Loader& operator=(const Loader&) = delete;

  // Queues the load and returns its ticket (never 0); a load still in
  // flight is cancelled and its result dropped.
  unsigned Start(LoadRequest request);
  // Cancels the load in flight, if any; no message follows for it.
  void Cancel();
  // The finished result of ticket, once; nothing when the load is not
  // finished, was cancelled or has been overtaken by a later one.
  std::optional<LoadResult> Take(unsigned ticket);
  // A load is queued or running.
  bool Busy() const;

  // Worker threads still running in this process (abandoned ones too).
  static int LiveWorkers();

 private:
  std::shared_ptr<LoaderShared> shared_;
};

}  // namespace picture
