// Whether the imaging component hands over the 16-bit samples of a
// big-endian ("MM") TIFF in the file's byte order instead of little-endian
// as it should. Wine's TIFF decoder does; Windows' swaps them. Found out
// once per load of the plug-in by decoding a one-pixel TIFF made here.
#pragma once
#include <wincodec.h>

namespace wic {

bool KeepsBigEndianSamples(IWICImagingFactory* factory);

}  // namespace wic
