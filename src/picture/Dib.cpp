#include "picture/Dib.h"

#include <algorithm>
#include <cstring>

#include "forms/Error.h"
#include "picture/Display.h"
#include "picture/InvalidGraphic.h"

namespace picture {

namespace {

// The limits of the bitmaps the program makes.
constexpr DibLimits kLimits{kMaxSide, kMaxPixels};

}  // namespace

Dib Dib::FromLayout(DibLayout layout) {
  Dib dib;
  BITMAPINFOHEADER& h = dib.header_;
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = layout.width;
  h.biHeight = layout.height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(layout.bitCount);
  h.biCompression = layout.compression;
  h.biClrUsed = static_cast<DWORD>(layout.colours.size());
  std::copy(layout.masks, layout.masks + 3, dib.masks_);
  for (const auto& c : layout.colours) dib.colors_.push_back(RGBQUAD{c[0], c[1], c[2], 0});
  const bool own = !layout.ownBits.empty();
  dib.ownBits_ = std::move(layout.ownBits);
  dib.bits_ = own ? dib.ownBits_.data() : layout.bits;
  return dib;
}

Dib Dib::Read(const void* header, size_t headerBytes, const void* bits, size_t bitsBytes) {
  return FromLayout(ReadDibLayout(static_cast<const uint8_t*>(header), headerBytes,
                                  static_cast<const uint8_t*>(bits), bitsBytes, kLimits));
}

Dib Dib::FromBitmapFile(const std::vector<BYTE>& bytes) {
  return FromLayout(ReadBitmapFileLayout(bytes.data(), bytes.size(), kLimits));
}

void Dib::TransferInto(HBITMAP bitmap, HDC reference) const {
  // BITMAPINFO: header, then the three masks or the colour table.
  std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + sizeof(masks_));
  std::memcpy(info.data(), &header_, sizeof(header_));
  if (header_.biCompression == BI_BITFIELDS)
    std::memcpy(&info[sizeof(header_)], masks_, sizeof(masks_));
  else if (!colors_.empty())
    std::memcpy(&info[sizeof(header_)], colors_.data(), colors_.size() * sizeof(RGBQUAD));

  forms::WindowDc screen(nullptr);
  const int lines = SetDIBits(reference ? reference : screen.get(), bitmap, 0, header_.biHeight,
                              bits_, reinterpret_cast<const BITMAPINFO*>(info.data()),
                              DIB_RGB_COLORS);
  if (lines == 0) throw InvalidGraphic("the pixels could not be transferred");
}

forms::BitmapHandle Dib::ToBitmap(HDC reference) const {
  forms::BitmapHandle bitmap = CreateDisplayBitmap(Width(), Height());
  TransferInto(bitmap.get(), reference);
  return bitmap;
}

forms::PaletteHandle Dib::CreatePalette() const {
  if (colors_.empty()) return forms::PaletteHandle();
  std::vector<BYTE> buffer(sizeof(LOGPALETTE) + colors_.size() * sizeof(PALETTEENTRY));
  LOGPALETTE* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<WORD>(colors_.size());
  for (size_t i = 0; i < colors_.size(); ++i)
    palette->palPalEntry[i] = PALETTEENTRY{colors_[i].rgbRed, colors_[i].rgbGreen, colors_[i].rgbBlue, 0};
  forms::PaletteHandle handle(::CreatePalette(palette));
  if (!handle) throw forms::Error("パレットを作れません");
  return handle;
}

}  // namespace picture
