#include "render.h"

#include <cstddef>

#include "picture.h"

namespace wic {
namespace {

constexpr UINT kRowsPerReport = 64;

// 0xAARRGGBB to 0x00RRGGBB composited onto black (a PNG's transparent
// entries turn black, as GIF's transparent colour does).
uint32_t OverBlack(WICColor c) {
  const uint32_t a = c >> 24;
  if (a == 0xFF) return c & 0xFFFFFFu;
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) out |= (((c >> shift & 0xFF) * a + 127) / 255) << shift;
  return out;
}

int PaletteOf(IWICImagingFactory* factory, IWICBitmapSource* source, std::vector<uint32_t>& out) {
  Com<IWICPalette> palette;
  WICColor colours[256];
  UINT count = 0;
  if (FAILED(factory->CreatePalette(palette.put())) || FAILED(source->CopyPalette(palette.get())) ||
      FAILED(palette->GetColors(256, colours, &count)) || count == 0)
    return spi::kBrokenData;
  out.clear();
  for (UINT i = 0; i < count; ++i) out.push_back(OverBlack(colours[i]));
  return spi::kSuccess;
}


// Byte offsets that walk the stored picture in the order of the shown one:
// shown (x, y) comes from origin + x * stepX + y * stepY.
struct Walk {
  std::ptrdiff_t origin, stepX, stepY;
};

Walk WalkFor(int orientation, UINT w, UINT h, std::ptrdiff_t pixel, std::ptrdiff_t stride) {
  const std::ptrdiff_t right = (static_cast<std::ptrdiff_t>(w) - 1) * pixel;
  const std::ptrdiff_t bottom = (static_cast<std::ptrdiff_t>(h) - 1) * stride;
  switch (orientation) {
    case 2: return {right, -pixel, stride};            // mirrored
    case 3: return {bottom + right, -pixel, -stride};  // upside down
    case 4: return {bottom, pixel, -stride};           // mirrored upside down
    case 5: return {0, stride, pixel};                 // transposed
    case 6: return {bottom, -stride, pixel};           // stored turned left: turn right
    case 7: return {bottom + right, -stride, -pixel};  // transverse
    case 8: return {right, stride, -pixel};            // stored turned right: turn left
    default: return {0, pixel, stride};
  }
}

// Rows straight into the DIB, each to its bottom-up place; other layouts go
// through one row of scratch.
int CopyRows(const RowSource& rows, UINT width, UINT height, const Prepared& form, spi::Dib& dib,
             spi::Progress& progress) {
  const int in = form.sourcePixel, out = form.bitCount / 8;
  const bool direct = form.layout == Layout::kDirect;
  std::vector<BYTE> scratch(direct ? 0 : static_cast<std::size_t>(width) * in);
  for (UINT y = 0; y < height; ++y) {
    if (y % kRowsPerReport == 0 && progress.Report(static_cast<int>(y), static_cast<int>(height)))
      return spi::kAborted;
    const WICRect rect{0, static_cast<INT>(y), static_cast<INT>(width), 1};
    BYTE* to = dib.Row(static_cast<int>(y));
    const HRESULT hr = rows(rect, width * in, width * in, direct ? to : scratch.data());
    if (FAILED(hr)) return CodeOf(hr);
    if (!direct) ToDibRow(form.layout, form.order, in, out, scratch.data(), width, to);
  }
  return spi::kSuccess;
}

// The whole picture into memory in DIB pixels first, then turned into the DIB.
int CopyTurned(const RowSource& rows, UINT width, UINT height, const Prepared& form,
               int orientation, spi::Dib& dib, spi::Progress& progress) {
  const int in = form.sourcePixel, out = form.bitCount / 8;
  // No overflow: the DIB of the same pixels exists already.
  const std::size_t stride = static_cast<std::size_t>(width) * out;
  const std::size_t readStride = static_cast<std::size_t>(width) * in;
  std::vector<BYTE> stored(stride * height), chunk(readStride * kRowsPerReport);
  for (UINT y = 0; y < height; y += kRowsPerReport) {
    if (progress.Report(static_cast<int>(y), static_cast<int>(height))) return spi::kAborted;
    const UINT n = height - y < kRowsPerReport ? height - y : kRowsPerReport;
    const WICRect rect{0, static_cast<INT>(y), static_cast<INT>(width), static_cast<INT>(n)};
    const HRESULT hr = rows(rect, static_cast<UINT>(readStride), static_cast<UINT>(readStride * n),
                            chunk.data());
    if (FAILED(hr)) return CodeOf(hr);
    for (UINT i = 0; i < n; ++i)
      ToDibRow(form.layout, form.order, in, out, chunk.data() + readStride * i, width,
               stored.data() + stride * (y + i));
  }
  const Walk walk = WalkFor(orientation, width, height, out, static_cast<std::ptrdiff_t>(stride));
  for (int y = 0; y < dib.Height(); ++y) {
    const BYTE* from = stored.data() + walk.origin + walk.stepY * y;
    BYTE* to = dib.Row(y);
    for (int x = 0; x < dib.Width(); ++x, from += walk.stepX, to += out) {
      to[0] = from[0];
      if (out == 3) to[1] = from[1], to[2] = from[2];
    }
  }
  return spi::kSuccess;
}

}  // namespace

void GrayPalette(std::vector<uint32_t>& out) {
  out.clear();
  for (uint32_t i = 0; i < 256; ++i) out.push_back(i * 0x010101u);
}

int Prepare(IWICImagingFactory* factory, IWICBitmapSource* source, Prepared& out) {
  WICPixelFormatGUID format;
  if (FAILED(source->GetPixelFormat(&format))) return spi::kBrokenData;
  out.palette.clear();
  out.layout = Layout::kDirect;
  int bytes = 0;
  if (format == GUID_WICPixelFormat8bppGray) {
    out.sourcePixel = 1, out.bitCount = 8;
    GrayPalette(out.palette);
  } else if (format == GUID_WICPixelFormat8bppIndexed) {
    out.sourcePixel = 1, out.bitCount = 8;
    const int rc = PaletteOf(factory, source, out.palette);
    if (rc != spi::kSuccess) return rc;
  } else if (format == GUID_WICPixelFormat24bppBGR) {
    out.sourcePixel = 3, out.bitCount = 24;
  } else if (LayoutOf(format, out.layout, bytes)) {
    out.sourcePixel = bytes;
    out.bitCount = out.layout == Layout::kGray16 ? 8 : 24;
    if (out.bitCount == 8) GrayPalette(out.palette);
  } else {
    out.layout = Layout::kPbgra32;
    out.sourcePixel = 4, out.bitCount = 24;
    Com<IWICFormatConverter> converter;
    HRESULT hr = factory->CreateFormatConverter(converter.put());
    if (SUCCEEDED(hr))
      hr = converter->Initialize(source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                 nullptr, 0.0, WICBitmapPaletteTypeCustom);
    if (FAILED(hr)) return spi::kUnknownFormat;  // a layout the platform cannot convert
    *out.source.put() = converter.get();
    converter.get()->AddRef();
    return spi::kSuccess;
  }
  source->AddRef();
  *out.source.put() = source;
  return spi::kSuccess;
}

RowSource RowsOf(IWICBitmapSource* source) {
  return [source](const WICRect& rect, UINT stride, UINT size, BYTE* dst) {
    return source->CopyPixels(&rect, stride, size, dst);
  };
}

int Render(const RowSource& rows, UINT width, UINT height, const Prepared& form, int orientation,
           spi::Dib& dib, spi::Progress& progress) {
  const bool swap = SwapsSides(orientation);
  const int w = static_cast<int>(swap ? height : width), h = static_cast<int>(swap ? width : height);
  int rc = dib.Create(w, h, form.bitCount, static_cast<int>(form.palette.size()));
  if (rc != spi::kSuccess) return rc;
  for (std::size_t i = 0; i < form.palette.size(); ++i)
    dib.SetColour(static_cast<int>(i), form.palette[i]);
  rc = orientation <= 1 || orientation > 8
           ? CopyRows(rows, width, height, form, dib, progress)
           : CopyTurned(rows, width, height, form, orientation, dib, progress);
  if (rc == spi::kSuccess && progress.Report(static_cast<int>(height), static_cast<int>(height)))
    rc = spi::kAborted;
  return rc;
}

}  // namespace wic
