#include "native_target.h"
#include "picture/IconDirectory.h"

NATIVE_FUZZ_TARGET({
  const picture::IconImage image = picture::ChooseIconImage(data, size);
  if (image.size == 0 || image.width <= 0 || image.height <= 0 || image.width > 1024 || image.height > 1024)
    __builtin_trap();
  volatile unsigned sink = TouchBytes(data + image.offset, image.size);  // handed to CreateIconFromResourceEx
  (void)sink;
})
