// One picture file read and decoded by the route its extension names (our
// own readers or a plug-in), with the outcome as the picture component
// reports it. Safe to call on any thread that has its own canvas DC.
#pragma once
#include <windows.h>

#include <string>

#include "picture/Decoders.h"
#include "picture/NativeFormats.h"
#include "picture/StopCheck.h"

namespace picture {

// Error values of our own, beside the plug-ins' codes and those of PluginRoute.h.
constexpr int kUnknownFormat = 2;          // a native file that does not hold together
constexpr int kUnsupportedExtension = 10;  // no decoder for the file's extension

struct DecodeOutcome {
  int error = 0;        // 0 success, else the component's Error value
  std::string message;  // the user's message for a failure
  LoadedPicture picture;
  int orgWidth = 0, orgHeight = 0;  // JPEG: the image's size in the file
  bool paletteMade = false;         // a 256-colour palette was made for the display
  std::string infoText;             // DecodeForArea: what the plug-in said of the picture (PluginText.h)
};

// Our own readers (bitmap, icon, metafiles). Throws InvalidGraphic for
// contents that are not such a picture, forms::Error for an unreadable file.
LoadedPicture ReadNative(Decoder kind, const std::string& fileName);

// Decodes fileName; preview asks a JPEG for the plug-in's reduced picture.
// canvas is the reference DC for the transfer and where a new palette is
// realised. Throws forms::Error for an unreadable native file or resources
// running out; every other failure is in the outcome.
DecodeOutcome DecodeFile(const std::string& fileName, bool preview, HDC canvas);

// As DecodeFile, for a picture that will be fitted into area: a plug-in may
// hand over its reduced preview when that still covers the fitted size (so
// a very large photo need not be held whole). The picture may still be
// larger than area. orgWidth and orgHeight hold the full size.
// An area of {0, 0} asks for the picture at its own size, through the
// preview only when the full picture is too large to hold. stop (may be
// empty) is asked while a plug-in decodes.
DecodeOutcome DecodeForArea(const std::string& fileName, SIZE area, HDC canvas,
                            const StopCheck& stop = StopCheck());

}  // namespace picture
