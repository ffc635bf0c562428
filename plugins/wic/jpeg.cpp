// ifjpeg.spi: JPEG through the platform's imaging component, shown upright
// by its EXIF orientation, with a quarter-size preview.
#include <cstring>

#include "jpeg_notes.h"
#include "picture.h"
#include "plugin.h"
#include "render.h"
#include "source_transform.h"

namespace {

using namespace spi;

UINT Quarter(UINT side) { return side / 4 + (side % 4 ? 1 : 0); }

bool Sniff(const uint8_t* head, std::size_t size) {
  return size >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
}

int Open(const Bytes& in, wic::Picture& picture) {
  if (!Sniff(in.data, in.size)) return kUnknownFormat;
  return picture.Open(in, GUID_ContainerFormatJpeg);
}

int Info(const Bytes& in, PictureInfo& out) {
  wic::Picture picture;
  const int rc = Open(in, picture);
  if (rc != kSuccess) return rc;
  const wic::JpegNotes notes = wic::ReadJpegNotes(in.data, in.size);
  const bool swap = wic::SwapsSides(notes.orientation);
  out.width = static_cast<long>(swap ? picture.Height() : picture.Width());
  out.height = static_cast<long>(swap ? picture.Width() : picture.Height());
  picture.Densities(swap ? out.y_density : out.x_density, swap ? out.x_density : out.y_density);
  out.colorDepth = static_cast<short>(picture.BitsPerPixel());
  out.hInfo = MakeInfoText(notes.comment.data(), notes.comment.size());
  return kSuccess;
}

int Picture(const Bytes& in, Dib& out, Progress& progress) {
  wic::Picture picture;
  int rc = Open(in, picture);
  if (rc != kSuccess) return rc;
  wic::Prepared form;
  rc = wic::Prepare(picture.Factory(), picture.Frame(), form);
  if (rc != kSuccess) return rc;
  const int orientation = wic::ReadJpegNotes(in.data, in.size).orientation;
  return wic::Render(wic::RowsOf(form.source.get()), picture.Width(), picture.Height(), form,
                     orientation, out, progress);
}

// The decoder's own reduced decoding, when it offers exactly the quarter size
// in a form a DIB holds; null otherwise.
wic::RowSource ScaledDecode(const wic::Picture& picture, UINT w, UINT h, wic::Prepared& form,
                            wic::Com<wic::IBitmapSourceTransform>& transform) {
  if (FAILED(picture.Frame()->QueryInterface(wic::kIIDBitmapSourceTransform, transform.put_void())))
    return nullptr;
  UINT cw = w, ch = h;
  WICPixelFormatGUID format = picture.Format();
  BOOL rotates = FALSE;
  if (FAILED(transform->GetClosestSize(&cw, &ch)) || cw != w || ch != h ||
      FAILED(transform->GetClosestPixelFormat(&format)) ||
      FAILED(transform->DoesSupportTransform(WICBitmapTransformRotate0, &rotates)) || !rotates)
    return nullptr;
  if (format == GUID_WICPixelFormat8bppGray) {
    form.sourcePixel = 1, form.bitCount = 8;
    form.palette.resize(256);
    for (uint32_t i = 0; i < 256; ++i) form.palette[i] = i * 0x010101u;
  } else if (format == GUID_WICPixelFormat24bppBGR) {
    form.sourcePixel = 3, form.bitCount = 24;
  } else {
    return nullptr;
  }
  wic::IBitmapSourceTransform* t = transform.get();
  const WICPixelFormatGUID chosen = format;
  return [t, w, h, chosen](const WICRect& rect, UINT stride, UINT size, BYTE* dst) {
    WICPixelFormatGUID f = chosen;
    return t->CopyPixels(&rect, w, h, &f, WICBitmapTransformRotate0, stride, size, dst);
  };
}

int Preview(const Bytes& in, Dib& out, Progress& progress) {
  wic::Picture picture;
  int rc = Open(in, picture);
  if (rc != kSuccess) return rc;
  const int orientation = wic::ReadJpegNotes(in.data, in.size).orientation;
  const UINT w = Quarter(picture.Width()), h = Quarter(picture.Height());

  wic::Prepared form;
  wic::Com<wic::IBitmapSourceTransform> transform;
  if (wic::RowSource rows = ScaledDecode(picture, w, h, form, transform))
    return wic::Render(rows, w, h, form, orientation, out, progress);

  // Otherwise the full decode, scaled down; the decoder holds all of it.
  if (!WithinLimits(static_cast<int>(picture.Width()), static_cast<int>(picture.Height()), 24))
    return kNoMemory;
  rc = wic::Prepare(picture.Factory(), picture.Frame(), form);
  if (rc != kSuccess) return rc;
  wic::Com<IWICBitmapScaler> scaler;
  HRESULT hr = picture.Factory()->CreateBitmapScaler(scaler.put());
  if (SUCCEEDED(hr))
    hr = scaler->Initialize(form.source.get(), w, h, WICBitmapInterpolationModeFant);
  if (FAILED(hr)) return wic::CodeOf(hr);
  return wic::Render(wic::RowsOf(scaler.get()), w, h, form, orientation, out, progress);
}

const Plugin kPlugin = {
    "ifjpeg.spi 1.0 JPEG decoder for Glimora (C) 2024 Glimora developers",
    "*.jpg;*.jpe;*.jpeg",
    "JPEG",
    Sniff,
    Info,
    Picture,
    Preview,
};

}  // namespace

const spi::Plugin& spi::ThisPlugin() { return kPlugin; }
