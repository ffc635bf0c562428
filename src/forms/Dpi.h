// Scale. The forms are laid out in design units, pixels of a 96-DPI screen;
// a window shown at another DPI (its monitor's, or the system's where
// monitors have no DPI of their own) gets every place, size and font height
// scaled by dpi / 96. Design units are a type of their own (Dip), device
// pixels stay the plain int that Windows takes and gives: Scaled and
// Unscaled are the only ways from one to the other.
#pragma once
#include <windows.h>

namespace forms {

// Sent when a window moves to a monitor of another scale (Windows 8.1 and
// later); the headers name it only for newer targets than ours.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

constexpr int kDesignDpi = 96;

// A length in design units.
class Dip {
 public:
  constexpr explicit Dip(int units) : units_(units) {}
  constexpr int Units() const { return units_; }
  constexpr bool operator==(Dip other) const { return units_ == other.units_; }
  constexpr bool operator!=(Dip other) const { return units_ != other.units_; }

 private:
  int units_;
};

// A control's place in its parent, and a client size, in design units.
struct DesignRect {
  Dip left{0}, top{0}, width{0}, height{0};
};
struct DesignSize {
  Dip width{0}, height{0};
};

// Design units at the given DPI, rounded to the nearest pixel.
inline int Scaled(Dip length, int dpi) { return MulDiv(length.Units(), dpi, kDesignDpi); }
// Device pixels at the given DPI back in design units, rounded likewise.
inline Dip Unscaled(int pixels, int dpi) { return Dip(MulDiv(pixels, kDesignDpi, dpi)); }

// The DPI a window is shown at: its monitor's where the system knows that
// (Windows 10 1607 and later), else the system's, else 96.
int WindowDpi(HWND hwnd);

// The outer rectangle for a client rectangle, with the frame of the given DPI
// where the system can tell it.
void AdjustForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

}  // namespace forms
