#include "native_target.h"
#include "picture/MetafileLayout.h"

NATIVE_FUZZ_TARGET({
  const picture::WindowsMetafileLayout layout = picture::ReadWindowsMetafileLayout(data, size);
  if (layout.recordsBytes < 24 || !layout.window.hasExtent) __builtin_trap();
  volatile unsigned sink = TouchBytes(data + layout.recordsAt, layout.recordsBytes);  // SetMetaFileBitsEx
  (void)sink;
})
