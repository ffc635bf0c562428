#include "preview.h"

namespace wic {

bool OpenReduced(const Picture& picture, UINT width, UINT height, ReducedDecoding& out) {
  if (FAILED(picture.Frame()->QueryInterface(kIIDBitmapSourceTransform, out.transform.put_void())))
    return false;
  out.width = width, out.height = height;
  return SUCCEEDED(out.transform->GetClosestSize(&out.width, &out.height));
}

RowSource ReducedRows(const ReducedDecoding& reduced, const WICPixelFormatGUID& format) {
  IBitmapSourceTransform* t = reduced.transform.get();
  const UINT w = reduced.width, h = reduced.height;
  return [t, w, h, format](const WICRect& rect, UINT stride, UINT size, BYTE* dst) {
    WICPixelFormatGUID f = format;
    return t->CopyPixels(&rect, w, h, &f, WICBitmapTransformRotate0, stride, size, dst);
  };
}

int RenderPreview(Picture& picture, const ReducedDecoding& reduced, UINT width, UINT height,
                  int orientation, spi::Dib& out, spi::Progress& progress) {
  if (reduced.rows)
    return Render(reduced.rows, reduced.width, reduced.height, reduced.form, orientation, out, progress);
  return ScaledByRows(picture, width, height, orientation, out, progress);
}

}  // namespace wic
