// The picture as a theme with a blurred fill or pan and zoom shows it, made
// on the loader's worker: fitted as usual, its bars filled with a blurred
// copy of itself (the effects then act on the filled picture), and, for a
// moving picture, a sharper copy the frames are resampled from, as large as
// the largest frame shows it (never larger than the picture's own pixels).
#pragma once
#include <windows.h>

#include "picture/Fit.h"
#include "picture/NativeFormats.h"
#include "picture/PixelImage.h"
#include "picture/Resample.h"

namespace picture {

struct StageRequest {
  SIZE area = {0, 0};       // the monitor's image area
  SIZE fitTo = {0, 0};      // shrink to fit this first; {0, 0}: own size
  bool fillBars = false;    // fill what the picture leaves of area
  double motionZoom = 1;    // > 1: keep a copy for frames zoomed this far
};

struct Staged {
  LoadedPicture shown;  // what the effects show: area-sized when filled
  PixelImage motion;    // the copy to move in (empty: the picture stands still)
  SourceRect motionWhole;  // the part of the copy that `shown` shows
};

// Whether the request asks for anything beyond the usual fit.
inline bool WantsStaging(const StageRequest& r) { return r.fillBars || r.motionZoom > 1; }

// Only a picture that lies within the area is filled or moved; any other
// comes back fitted, standing still. Empty when cancelled; throws
// forms::Error when GDI cannot read or make a bitmap.
Staged StagePicture(LoadedPicture decoded, const StageRequest& request, const CancelCheck& cancelled);

}  // namespace picture
