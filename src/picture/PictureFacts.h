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

// DateTimeOriginal found by walking a JPEG's segments, a PNG's chunks or a
// TIFF's directories, reading only the pieces it needs.
bool ReadFileExifDate(const ByteSource& file, TakenTime& out);

}  // namespace picture
