// Decoding through an image-decoder plug-in: which calls are made in which
// order, and how the returned DIB becomes a display-format bitmap.
#pragma once
#include <windows.h>

#include <string>

#include "picture/Decoders.h"
#include "picture/NativeFormats.h"

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
};

// Loads the row's plug-in, decodes fileName and releases the plug-in again.
// canvas is the component's canvas DC: the reference for the transfer and
// where a new palette is realised. Resource failures throw forms::Error.
PluginOutcome DecodeWithPlugin(Decoder kind, const std::string& fileName, bool preview, HDC canvas);

}  // namespace picture
