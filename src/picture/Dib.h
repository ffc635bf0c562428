// Device-independent bitmaps as files and plug-ins hand them over, read by
// DibLayout (checked against the bytes actually present, bottom-up, no
// run-length coding) and transferred into display-format bitmaps.
#pragma once
#include <windows.h>

#include <cstddef>
#include <vector>

#include "forms/Gdi.h"
#include "picture/DibLayout.h"

namespace picture {

class Dib {
 public:
  const BITMAPINFOHEADER& Header() const { return header_; }
  int Width() const { return header_.biWidth; }
  int Height() const { return header_.biHeight; }
  int BitCount() const { return header_.biBitCount; }
  // The colour table (only for 8 bits per pixel or fewer).
  const std::vector<RGBQUAD>& Colors() const { return colors_; }

  // Parses a header (12-byte core, 40-byte and the later 52 to 124-byte forms)
  // with its masks and colour table from headerBytes bytes at header, and the
  // pixel rows from bitsBytes bytes at bits. Throws InvalidGraphic.
  static Dib Read(const void* header, size_t headerBytes, const void* bits, size_t bitsBytes);
  // A bitmap file's DIB, from the whole file's bytes. Throws InvalidGraphic.
  static Dib FromBitmapFile(const std::vector<BYTE>& bytes);

  // The pixels as a new display-format bitmap of Width() x Height(), written
  // by SetDIBits with reference as the device context (its selected palette
  // decides colours on a 256-colour display; nullptr: the screen).
  forms::BitmapHandle ToBitmap(HDC reference) const;
  // SetDIBits into an existing bitmap (scan lines beyond its height are cut).
  void TransferInto(HBITMAP bitmap, HDC reference) const;

  // A logical palette of the colour table; empty when there is none.
  forms::PaletteHandle CreatePalette() const;

 private:
  BITMAPINFOHEADER header_ = {};
  DWORD masks_[3] = {};
  std::vector<RGBQUAD> colors_;
  static Dib FromLayout(DibLayout layout);

  std::vector<BYTE> ownBits_;  // rows rebuilt from run-length or top-down data
  const BYTE* bits_ = nullptr;
};

}  // namespace picture
