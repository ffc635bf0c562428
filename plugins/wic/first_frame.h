// What the WIC plug-ins share after sniffing: opening the first frame and
// choosing its DIB form, and, for the formats shown as stored (TIFF, PNG),
// the information call and (PNG) the picture call.
#pragma once
#include "picture.h"
#include "render.h"

namespace wic {

// Opens the first frame of `in` and prepares it; a result code.
int OpenPrepared(const spi::Bytes& in, const Container& container, Picture& picture,
                 Prepared& form);

// Size, densities and bits per pixel of the first frame.
int FirstFrameInfo(const spi::Bytes& in, const Container& container, spi::PictureInfo& out);

// A preview of the open picture at width x height from its full decode,
// scaled down row by row: only the decoder holds all of it (Wine's does from
// the moment the file is opened), so pictures too large for a DIB of their
// own still have one (up to the 2 GB a decoder can hold).
int ScaledByRows(Picture& picture, UINT width, UINT height, int orientation, spi::Dib& out,
                 spi::Progress& progress);

// The first frame as stored, transparency composited onto black.
int FirstFrame(const spi::Bytes& in, const Container& container, spi::Dib& out,
               spi::Progress& progress);

}  // namespace wic
