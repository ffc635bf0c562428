#include "first_frame.h"

#include <climits>
#include <cstdint>

namespace wic {

int OpenPrepared(const spi::Bytes& in, const Container& container, Picture& picture,
                 Prepared& form) {
  const int rc = picture.Open(in, container);
  if (rc != spi::kSuccess) return rc;
  return Prepare(picture.Factory(), picture.Frame(), form);
}

int FirstFrameInfo(const spi::Bytes& in, const Container& container, spi::PictureInfo& out) {
  Picture picture;
  const int rc = picture.Open(in, container);
  if (rc != spi::kSuccess) return rc;
  out.width = static_cast<long>(picture.Width());
  out.height = static_cast<long>(picture.Height());
  picture.Densities(out.x_density, out.y_density);
  out.colorDepth = static_cast<short>(picture.BitsPerPixel());
  return spi::kSuccess;
}

int FirstFrame(const spi::Bytes& in, const Container& container, spi::Dib& out,
               spi::Progress& progress) {
  Picture picture;
  Prepared form;
  const int rc = OpenPrepared(in, container, picture, form);
  if (rc != spi::kSuccess) return rc;
  return Render(RowsOf(form.source.get()), picture.Width(), picture.Height(), form, 1, out,
                progress);
}

int ScaledByRows(Picture& picture, UINT width, UINT height, int orientation, spi::Dib& out,
                 spi::Progress& progress) {
  // The decoder holds the whole picture in one block and counts its bytes
  // in an int: past 2 GB (at up to 4 bytes a pixel) it reads outside that
  // block (Wine's does, in 64 bits), and no 32-bit process has the room.
  const uint64_t held = static_cast<uint64_t>(picture.Width()) * picture.Height() * 4;
  if (held > static_cast<uint64_t>(INT_MAX)) return spi::kNoMemory;
  Prepared form;
  int rc = Prepare(picture.Factory(), picture.Frame(), form);
  if (rc != spi::kSuccess) return rc;
  Com<IWICBitmapScaler> scaler;
  HRESULT hr = picture.Factory()->CreateBitmapScaler(scaler.put());
  if (SUCCEEDED(hr)) hr = scaler->Initialize(form.source.get(), width, height, WICBitmapInterpolationModeFant);
  if (FAILED(hr)) return CodeOf(hr);
  return Render(RowsOf(scaler.get()), width, height, form, orientation, out, progress);
}

}  // namespace wic
