// What a caption says of a picture file: its name as the file system spells
// it, and when it was taken (the EXIF DateTimeOriginal of a JPEG, TIFF or
// PNG; the last-written time for any other file or a date that is missing
// or broken). Read on the loader's worker, next to the decode.
#pragma once
#include <string>

#include "picture/ExifDate.h"

namespace picture {

struct PictureFacts {
  std::wstring name;    // without its folder; empty when the file is gone
  TakenTime taken;
  bool hasTime = false;  // false only when the file could not be looked at
  bool fromExif = false;
};

PictureFacts ReadPictureFacts(const std::wstring& path);

}  // namespace picture
