// A preview of an open picture from the decoder's own reduced decoding
// (IWICBitmapSourceTransform) where it offers one that suits the plug-in,
// else from the full decode scaled by rows.
#pragma once
#include "first_frame.h"
#include "source_transform.h"

namespace wic {

// The decoder's reduced decoding as rows to render. Owns the interface the
// rows are read through.
struct ReducedDecoding {
  Com<IBitmapSourceTransform> transform;
  UINT width = 0, height = 0;  // the size it decodes at
  Prepared form;               // the rows' layout and the DIB's form
  RowSource rows;              // empty: none that suits
};

// Asks the decoder for its reduced decoding nearest width x height; false
// when it has none. The plug-in then checks the size and pixel format and
// sets form and rows.
bool OpenReduced(const Picture& picture, UINT width, UINT height, ReducedDecoding& out);

// Rows of the reduced decoding in `format`, one of the decoder's own.
RowSource ReducedRows(const ReducedDecoding& reduced, const WICPixelFormatGUID& format);

// The preview: the reduced decoding's rows where there are some, else the
// full decode scaled by rows to width x height.
int RenderPreview(Picture& picture, const ReducedDecoding& reduced, UINT width, UINT height,
                  int orientation, spi::Dib& out, spi::Progress& progress);

}  // namespace wic
