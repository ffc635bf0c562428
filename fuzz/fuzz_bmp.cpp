#include "native_target.h"
#include "picture/DibLayout.h"

// The program's limits (Display.h, which needs Windows).
static const picture::DibLimits kLimits{32767, 64LL * 1024 * 1024};

NATIVE_FUZZ_TARGET({
  const picture::DibLayout dib = picture::ReadBitmapFileLayout(data, size, kLimits);
  if (dib.width <= 0 || dib.height <= 0 || dib.colours.size() > 256 || dib.bits == nullptr) __builtin_trap();
  if (dib.compression != picture::DibLayout::kRgb && dib.compression != picture::DibLayout::kBitfields)
    __builtin_trap();
  // SetDIBits reads every row: the first and last bytes of the block must exist.
  const std::size_t bytes = dib.Stride() * static_cast<std::size_t>(dib.height);
  volatile unsigned sink = TouchBytes(dib.bits, 1) + TouchBytes(dib.bits + bytes - 1, 1);
  (void)sink;
  if (!dib.ownBits.empty() && dib.ownBits.size() != bytes) __builtin_trap();
})
