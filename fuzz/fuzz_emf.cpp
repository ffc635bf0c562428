#include "native_target.h"
#include "picture/MetafileLayout.h"

NATIVE_FUZZ_TARGET({
  const picture::EnhancedMetafileLayout layout = picture::ReadEnhancedMetafileLayout(data, size);
  if (layout.bytes < 88 || layout.bytes % 4 != 0) __builtin_trap();
  volatile unsigned sink = TouchBytes(data, layout.bytes);  // SetEnhMetaFileBits
  (void)sink;
})
