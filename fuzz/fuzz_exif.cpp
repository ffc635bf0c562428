// The caption's date reader: any file, as a JPEG, PNG or TIFF walk and as a
// bare TIFF structure, gives a real calendar minute or nothing.
#include <cstdint>

#include "picture/ExifDate.h"

namespace {
void CheckDate(const picture::TakenTime& t) {
  if (t.year < 1 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 ||
      t.minute > 59)
    __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const picture::MemoryBytes bytes(data, size);
  picture::TakenTime t;
  if (picture::ReadFileExifDate(bytes, t)) CheckDate(t);
  if (picture::ReadExifDate(bytes, t)) CheckDate(t);
  return 0;
}
