// The text information a plug-in hands over with a picture's information
// (GetPictureInfo's hInfo: ANSI or Shift-JIS lines, mostly the file's
// comment), and the one line of it this program reads: the date taken,
// "DateTimeOriginal=" and the date in EXIF's form "YYYY:MM:DD HH:MM:SS"
// (docs/architecture.md). A plug-in's text is never trusted: its size is
// the block's, not where a NUL may be, and the date is checked as an EXIF
// date is.
#pragma once
#include <cstddef>
#include <string>

#include "picture/ExifDate.h"

namespace picture {

// More than any comment a caption could use; the rest is not read.
constexpr size_t kMaxInfoText = 64 * 1024;

// The text of a block of `size` bytes: up to its first NUL, and never past
// its end or kMaxInfoText.
std::string InfoTextOf(const void* block, size_t size);

// The date of the text's first DateTimeOriginal line; false when there is
// none or it names no real moment.
bool DateInInfoText(const std::string& text, TakenTime& out);

}  // namespace picture
