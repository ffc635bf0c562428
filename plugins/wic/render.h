// Turning a decoded WIC source into the plug-in's DIB: choosing the DIB form
// (8-bit gray or palette, else 24-bit BGR), copying the rows bottom-up and
// applying an EXIF orientation on the way.
#pragma once
#include <wincodec.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "com.h"
#include "dib.h"
#include "progress.h"
#include "samples.h"

namespace wic {

// EXIF orientation 1..8; 5 to 8 swap width and height.
inline bool SwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

// A source whose rows become DIB rows directly or through ToDibRow.
struct Prepared {
  Com<IWICBitmapSource> source;
  Layout layout = Layout::kDirect;
  SampleOrder order = SampleOrder::kLittleEndian;
  int sourcePixel = 3;             // bytes per pixel of the source's rows
  int bitCount = 24;               // of the DIB: 8 or 24
  std::vector<uint32_t> palette;   // 0x00RRGGBB, 8-bit only
};

// The palette of 8-bit gray rows: entry i is gray level i.
void GrayPalette(std::vector<uint32_t>& out);

// 8bppGray and 8bppIndexed stay 8-bit (palette colours composited onto black
// by their alpha) and 24bppBGR stays as it is. 16-bit samples are read as
// they are (samples.h); 16-bit gray becomes 8-bit gray. Everything else
// converts to premultiplied 32bppPBGRA, whose colour bytes are the picture
// composited onto black, and becomes 24-bit.
int Prepare(IWICImagingFactory* factory, IWICBitmapSource* source, Prepared& out);

// Copies the given rectangle of the source, rows top-down, into dst.
using RowSource = std::function<HRESULT(const WICRect& rect, UINT stride, UINT size, BYTE* dst)>;
RowSource RowsOf(IWICBitmapSource* source);

// Creates dib (sides swapped for orientations 5..8) with the palette of
// `form`, and fills it from rows of a width x height picture in the form's
// source layout.
int Render(const RowSource& rows, UINT width, UINT height, const Prepared& form, int orientation,
           spi::Dib& dib, spi::Progress& progress);

}  // namespace wic
