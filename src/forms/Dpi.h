// Scale. The forms are laid out in pixels of a 96-DPI screen; a window shown
// at another DPI (its monitor's, or the system's where monitors have no DPI
// of their own) gets every place, size and font height scaled by dpi / 96.
#pragma once
#include <windows.h>

namespace forms {

// Sent when a window moves to a monitor of another scale (Windows 8.1 and
// later); the headers name it only for newer targets than ours.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

constexpr int kDesignDpi = 96;

// Design pixels at the given DPI, rounded to the nearest pixel.
inline int Scaled(int designPixels, int dpi) { return MulDiv(designPixels, dpi, kDesignDpi); }

// The DPI a window is shown at: its monitor's where the system knows that
// (Windows 10 1607 and later), else the system's, else 96.
int WindowDpi(HWND hwnd);

// The outer rectangle for a client rectangle, with the frame of the given DPI
// where the system can tell it.
void AdjustForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

}  // namespace forms
