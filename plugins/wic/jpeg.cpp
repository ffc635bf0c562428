// ifjpeg.spi: JPEG through the platform's imaging component, shown upright
// by its EXIF orientation, with a quarter-size preview (each side a quarter,
// rounded up). The preview of a camera's JPEG is decoded here straight to
// the quarter, so the full picture is never held and the decode stops as
// soon as the host asks; other JPEGs get the imaging component's own reduced
// decoding where it has one (Windows), else its full decode scaled down.
#include <optional>

#include "first_frame.h"
#include "jpeg_frame.h"
#include "jpeg_header.h"
#include "jpeg_quarter.h"
#include "plugin.h"
#include "preview.h"
#include "quarter_side.h"

namespace {

using namespace spi;

bool Sniff(const uint8_t* head, std::size_t size) {
  return size >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
}

const wic::Container kJpeg = {Sniff, GUID_ContainerFormatJpeg};

// From the header alone: opening the picture with WIC would decode all of it.
int Info(const Bytes& in, PictureInfo& out) {
  if (!Sniff(in.data, in.size)) return kUnknownFormat;
  const wic::JpegHeader header = wic::ReadJpegHeader(in.data, in.size);
  if (!header.hasFrame || header.width == 0 || header.height == 0) return kBrokenData;
  const bool swap = wic::SwapsSides(header.orientation);
  out.width = swap ? header.height : header.width;
  out.height = swap ? header.width : header.height;
  out.x_density = swap ? header.yDensity : header.xDensity;
  out.y_density = swap ? header.xDensity : header.yDensity;
  out.colorDepth = static_cast<short>(8 * header.components);
  out.hInfo = MakeInfoText(header.comment.data(), header.comment.size());
  return kSuccess;
}

int Picture(const Bytes& in, Dib& out, Progress& progress) {
  // A picture too large for a DIB is refused before the decoder, which may
  // hold all of it, gets to work.
  const wic::JpegHeader header = wic::ReadJpegHeader(in.data, in.size);
  if (Sniff(in.data, in.size) && header.hasFrame &&
      !WithinLimits(header.width, header.height, header.components == 1 ? 8 : 24))
    return kNoMemory;
  wic::Picture picture;
  wic::Prepared form;
  const int rc = wic::OpenPrepared(in, kJpeg, picture, form);
  if (rc != kSuccess) return rc;
  const int orientation = header.orientation;
  return wic::Render(wic::RowsOf(form.source.get()), picture.Width(), picture.Height(), form,
                     orientation, out, progress);
}

// The decoder's own reduced decoding, when it offers exactly the quarter size
// in a form a DIB holds; its rows stay empty otherwise.
void ExactQuarter(const wic::Picture& picture, UINT w, UINT h, wic::ReducedDecoding& reduced) {
  if (!wic::OpenReduced(picture, w, h, reduced) || reduced.width != w || reduced.height != h) return;
  WICPixelFormatGUID format = picture.Format();
  BOOL rotates = FALSE;
  if (FAILED(reduced.transform->GetClosestPixelFormat(&format)) ||
      FAILED(reduced.transform->DoesSupportTransform(WICBitmapTransformRotate0, &rotates)) || !rotates)
    return;
  if (format == GUID_WICPixelFormat8bppGray) {
    reduced.form.sourcePixel = 1, reduced.form.bitCount = 8;
    wic::GrayPalette(reduced.form.palette);
  } else if (format == GUID_WICPixelFormat24bppBGR) {
    reduced.form.sourcePixel = 3, reduced.form.bitCount = 24;
  } else {
    return;
  }
  reduced.rows = wic::ReducedRows(reduced, format);
}

// The quarter decoded here, block by block (jpeg_quarter.h): stops when the
// host asks and never holds the full picture. A result code, or none for the
// JPEGs it leaves to the imaging component.
std::optional<int> OwnQuarter(const Bytes& in, const wic::JpegFrameReader& frame, int orientation, Dib& out,
                              Progress& progress) {
  if (!frame.Decodable()) return std::nullopt;
  wic::JpegQuarter quarter;
  const auto report = [&progress](int done, int total) { return progress.Report(done, total); };
  switch (quarter.Decode(frame.Frame(), frame.ScanData(), in.data + in.size, report)) {
    case wic::JpegQuarter::Result::kStopped: return kAborted;
    case wic::JpegQuarter::Result::kNotHandled: return std::nullopt;
    case wic::JpegQuarter::Result::kDecoded: break;
  }
  wic::Prepared form;
  if (quarter.Gray()) {
    form.sourcePixel = 1, form.bitCount = 8;
    wic::GrayPalette(form.palette);
  }
  const wic::RowSource rows = [&quarter](const WICRect& rect, UINT stride, UINT, BYTE* dst) {
    for (INT i = 0; i < rect.Height; ++i) quarter.Row(rect.Y + i, dst + static_cast<std::size_t>(stride) * i);
    return S_OK;
  };
  return wic::Render(rows, static_cast<UINT>(quarter.Width()), static_cast<UINT>(quarter.Height()), form,
                     orientation, out, progress);
}

int Preview(const Bytes& in, Dib& out, Progress& progress) {
  // One walk over the segments for both the orientation and the tables.
  wic::JpegMarkers markers(in.data, in.size);
  wic::JpegHeaderReader header;
  wic::JpegFrameReader frame;
  for (wic::JpegSegment s; markers.Next(s);) {
    header.Take(s);
    frame.Take(s);
  }
  const int orientation = header.Header().orientation;
  if (const std::optional<int> rc = OwnQuarter(in, frame, orientation, out, progress)) return *rc;

  wic::Picture picture;
  const int rc = picture.Open(in, kJpeg);
  if (rc != kSuccess) return rc;
  const UINT w = wic::QuarterSide(picture.Width()), h = wic::QuarterSide(picture.Height());
  wic::ReducedDecoding reduced;
  ExactQuarter(picture, w, h, reduced);
  return wic::RenderPreview(picture, reduced, w, h, orientation, out, progress);
}

}  // namespace

const spi::Plugin& spi::ThisPlugin() {
  static const Plugin plugin = {SPI_FILE_NAME " 1.0 JPEG decoder for Glimora (C) 2024 Glimora developers",
                                "*.jpg;*.jpe;*.jpeg", "JPEG", Sniff, Info, Picture, Preview};
  return plugin;
}
