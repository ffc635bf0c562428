// The date a photo was taken, from the EXIF DateTimeOriginal tag of a TIFF
// structure (the body of a JPEG's APP1 "Exif" segment, a PNG's eXIf chunk,
// or a TIFF file itself). Every offset and count is checked against the
// bytes there are, and the reader looks at no more than two directories:
// a broken or hostile file gives "no date", never a fault or a long wait.
#pragma once
#include <cstddef>
#include <cstdint>

namespace picture {

// Bytes at an offset: a block in memory, or a file read piece by piece.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Exactly n bytes at offset, or false.
  virtual bool Read(uint64_t offset, void* out, size_t n) const = 0;
};

class MemoryBytes : public ByteSource {
 public:
  MemoryBytes(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
  bool Read(uint64_t offset, void* out, size_t n) const override;

 private:
  const uint8_t* data_;
  size_t size_;
};

// A calendar minute as a photo states it.
struct TakenTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

// "YYYY:MM:DD HH:MM:SS" (seconds may be missing) naming a real day and time
// of the years 1 to 9999; "0000:00:00 00:00:00", blanks and garbage are not.
bool ParseExifDate(const char* text, size_t size, TakenTime& out);

// DateTimeOriginal of the TIFF structure that starts at offset 0 of source.
bool ReadExifDate(const ByteSource& tiff, TakenTime& out);

// DateTimeOriginal found by walking a JPEG's segments, a PNG's chunks or a
// TIFF's directories, reading only the pieces it needs.
bool ReadFileExifDate(const ByteSource& file, TakenTime& out);

}  // namespace picture
