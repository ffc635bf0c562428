// What the picture component asks of the screen: its colour depth (a hook,
// so tests can pretend a 256-colour display), bitmaps in its format, and its
// resolution for metafiles.
#pragma once
#include <windows.h>

#include "forms/Gdi.h"

namespace picture {

using ScreenDepthQuery = int (*)();

// Bits per pixel of the screen (GetDeviceCaps BITSPIXEL on the screen's DC).
int ScreenBitsPerPixel();
// Replaces the query; nullptr restores the real one.
void SetScreenDepthQuery(ScreenDepthQuery query);

// Logical pixels per inch of the screen, horizontally and vertically.
int ScreenPixelsPerInchX();
int ScreenPixelsPerInchY();

// A bitmap compatible with the screen. Throws forms::Error when GDI cannot
// make one (out of resources: not a fault of the file).
forms::BitmapHandle CreateDisplayBitmap(int width, int height);

// Largest picture side and area we agree to make: a 32-bit process cannot
// hold much more in one bitmap; a 64-bit one holds a 108-megapixel photo whole.
constexpr int kMaxSide = 32767;
#ifdef _WIN64
constexpr long long kMaxPixels = 256LL * 1024 * 1024;
#else
constexpr long long kMaxPixels = 64LL * 1024 * 1024;
#endif

}  // namespace picture
