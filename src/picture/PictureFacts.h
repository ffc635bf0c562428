// What a caption says of a picture file: its name as the file system spells
// it, and when it was taken: the EXIF DateTimeOriginal of a JPEG, TIFF or
// PNG as our own reader finds it; else the date the picture's plug-in
// states in its text information (PluginText.h: HEIC, WebP, RAW ... through
// the imaging component); else the last-written time, also for a date that
// is missing or broken. Read on the loader's worker, next to the decode.
#pragma once
#include <string>

#include "picture/ExifDate.h"

namespace picture {

struct PictureFacts {
  std::wstring name;    // without its folder; empty when the file is gone
  TakenTime taken;
  bool hasTime = false;  // false only when the file could not be looked at
  bool fromExif = false;  // the date is the photo's own (from its file or its plug-in)
};

// pluginText: the text information the picture's plug-in gave, if any.
PictureFacts ReadPictureFacts(const std::wstring& path, const std::string& pluginText = std::string());

}  // namespace picture
