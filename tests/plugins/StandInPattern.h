// The picture every stand-in plug-in decodes, shared with the tests that
// check what the picture component made of it. y counts from the top row.
#pragma once
#include <windows.h>

namespace standin {

inline RGBQUAD PaletteEntry(int i) {
  return RGBQUAD{static_cast<BYTE>(i * 37), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 11 + 5), 0};
}

inline int PatternIndex(int x, int y, int colors) { return (x + 2 * y) % colors; }

// colors: entries in the colour table (for 8 bits per pixel or fewer).
inline COLORREF PatternColor(int bitCount, int colors, int x, int y) {
  if (bitCount <= 8) {
    const RGBQUAD q = PaletteEntry(PatternIndex(x, y, colors));
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
  }
  return RGB((x * 5) & 255, (y * 9) & 255, ((x + y) * 3) & 255);
}

}  // namespace standin
