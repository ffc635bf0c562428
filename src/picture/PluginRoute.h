// Decoding through an image-decoder plug-in: which calls are made in which
// order, and how the returned DIB becomes a display-format bitmap.
#pragma once
#include <windows.h>

#include <string>

#include "picture/Decoders.h"
#include "picture/NativeFormats.h"
#include "picture/StopCheck.h"

namespace picture {

// Error codes of our own beside the plug-in's.
constexpr int kPluginMissing = 20;  // not loadable, or an entry point is missing
// A plug-in reported success but handed over a picture that does not hold
// together (bad header, fewer bytes than the header claims, absurd size).
constexpr int kBadPluginPicture = 5;
// The file name does not fit the plug-in's 256-byte buffer: the plug-in
// could not be told which file to read.
constexpr int kNameTooLong = 6;

struct PluginOutcome {
  int error = 0;        // 0 success, else the Error value
  std::string message;  // the user's message for a failure
  LoadedPicture picture;
  int orgWidth = 0, orgHeight = 0;  // JPG: the image's size in the file
  bool paletteMade = false;         // the 256-colour palette step ran
  bool preview = false;             // DecodeForSize: the plug-in's quarter-size preview
  std::string infoText;             // DecodeForSize: the text of the information it asked (PluginText.h)
};

// Loads the row's plug-in, decodes fileName and releases the plug-in again.
// canvas is the component's canvas DC: the reference for the transfer and
// where a new palette is realised. Resource failures throw forms::Error.
// preview (JPEG only) asks for the plug-in's preview, and a JPEG plug-in
// without GetPreview then counts as missing; without it, GetPreview is not
// needed by any row.
// stop (may be empty) is asked while the plug-in decodes; a plug-in that
// stops on it reports its own code for an aborted load.
PluginOutcome DecodeWithPlugin(Decoder kind, const std::string& fileName, bool preview, HDC canvas,
                               const StopCheck& stop = StopCheck());

// The picture of fileName best suited to showing at targetWidth x
// targetHeight (the area it will be fitted into), for plug-in kinds. When
// the row's plug-in has GetPreview (JPEG, PIC, PIC2) and the preview, a
// quarter of each side, still covers the picture fitted to the target (the
// picture is four or more times the target in its limiting direction), or
// the full picture is too large to hold, the preview is decoded; otherwise,
// and for plug-ins without GetPreview, the full picture. outcome.preview
// says which; for JPEG, orgWidth and orgHeight hold the full size;
// outcome.infoText, the text of the GetPictureInfo call made to choose
// (JPEG and the rows with a preview, the imaging component's among them). The
// picture may still be larger than the target: fitting it is the caller's.
PluginOutcome DecodeForSize(Decoder kind, const std::string& fileName, int targetWidth,
                            int targetHeight, HDC canvas, const StopCheck& stop = StopCheck());

}  // namespace picture
