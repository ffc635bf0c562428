#include "picture/Fit.h"

#include <algorithm>
#include <optional>

#include "forms/Error.h"
#include "forms/Gdi.h"
#include "picture/Display.h"

namespace picture {

namespace {

// Rows of the source read at once: about 4 MB of pixels.
constexpr size_t kBandBytes = 4u * 1024 * 1024;

int RoundedRatio(long long numerator, long long denominator) {
  return static_cast<int>((numerator * 2 + denominator) / (denominator * 2));
}

BITMAPINFOHEADER TrueColourHeader(int width, int height) {
  BITMAPINFOHEADER h = {};
  h.biSize = sizeof h;
  h.biWidth = width;
  h.biHeight = height;  // negative: top row first
  h.biPlanes = 1;
  h.biBitCount = 32;
  h.biCompression = BI_RGB;
  return h;
}

}  // namespace

SIZE FittedSize(SIZE picture, SIZE area) {
  const long long w = picture.cx, h = picture.cy, aw = area.cx, ah = area.cy;
  if (w <= 0 || h <= 0 || aw <= 0 || ah <= 0 || (w <= aw && h <= ah)) return picture;
  SIZE fitted;
  if (w * ah >= h * aw) {  // the width meets the area's edge first
    fitted.cx = static_cast<LONG>(aw);
    fitted.cy = RoundedRatio(h * aw, w);
  } else {
    fitted.cy = static_cast<LONG>(ah);
    fitted.cx = RoundedRatio(w * ah, h);
  }
  fitted.cx = std::clamp<LONG>(fitted.cx, 1, static_cast<LONG>(aw));
  fitted.cy = std::clamp<LONG>(fitted.cy, 1, static_cast<LONG>(ah));
  return fitted;
}

// Source column i spans [i*width, (i+1)*width) and target column x spans
// [x*sourceWidth, (x+1)*sourceWidth) on a common scale; the overlaps are the
// weights, and each target pixel's weights add up to sourceWidth.
AreaReducer::AreaReducer(int sourceWidth, int sourceHeight, int width, int height)
    : sourceWidth_(sourceWidth), sourceHeight_(sourceHeight), width_(width), height_(height),
      column_(sourceWidth), share_(sourceWidth), rowSums_(3u * width), current_(3u * width),
      next_(3u * width), result_(static_cast<size_t>(width) * height) {
  for (int i = 0; i < sourceWidth; ++i) {
    const long long start = static_cast<long long>(i) * width;
    const int x = static_cast<int>(start / sourceWidth);
    const long long edge = static_cast<long long>(x + 1) * sourceWidth;
    column_[i] = x;
    share_[i] = static_cast<uint32_t>(std::min<long long>(width, edge - start));
  }
}

void AreaReducer::SumRow(const uint32_t* row) {
  std::fill(rowSums_.begin(), rowSums_.end(), 0u);
  const uint32_t whole = static_cast<uint32_t>(width_);
  for (int i = 0; i < sourceWidth_; ++i) {
    const uint32_t p = row[i], a = share_[i], b = whole - a;
    uint32_t* s = &rowSums_[3u * column_[i]];
    const uint32_t blue = p & 0xFF, green = (p >> 8) & 0xFF, red = (p >> 16) & 0xFF;
    s[0] += a * blue;
    s[1] += a * green;
    s[2] += a * red;
    if (b) {
      s[3] += b * blue;
      s[4] += b * green;
      s[5] += b * red;
    }
  }
}

void AreaReducer::Accumulate(std::vector<uint64_t>& into, uint32_t weight) {
  for (size_t k = 0; k < rowSums_.size(); ++k) into[k] += static_cast<uint64_t>(rowSums_[k]) * weight;
}

void AreaReducer::EmitRow() {
  const uint64_t total = static_cast<uint64_t>(sourceWidth_) * sourceHeight_;
  uint32_t* out = &result_[static_cast<size_t>(targetRow_) * width_];
  for (int x = 0; x < width_; ++x) {
    const uint64_t* s = &current_[3u * x];
    const uint32_t blue = static_cast<uint32_t>((s[0] + total / 2) / total);
    const uint32_t green = static_cast<uint32_t>((s[1] + total / 2) / total);
    const uint32_t red = static_cast<uint32_t>((s[2] + total / 2) / total);
    out[x] = blue | green << 8 | red << 16;
  }
  ++targetRow_;
  current_.swap(next_);
  std::fill(next_.begin(), next_.end(), 0u);
}

// Rows split between target rows the same way as columns do.
void AreaReducer::AddRow(const uint32_t* row) {
  if (sourceRow_ >= sourceHeight_) return;
  SumRow(row);
  const long long start = static_cast<long long>(sourceRow_) * height_;
  const long long edge = static_cast<long long>(targetRow_ + 1) * sourceHeight_;
  const uint32_t a = static_cast<uint32_t>(std::min<long long>(height_, edge - start));
  Accumulate(current_, a);
  if (a < static_cast<uint32_t>(height_)) Accumulate(next_, height_ - a);
  ++sourceRow_;
  if (start + height_ >= edge) EmitRow();
}

PixelImage ReducedPixels(const LoadedPicture& source, SIZE size, const CancelCheck& cancelled) {
  const int sw = source.width, sh = source.height;
  const int w = static_cast<int>(size.cx), h = static_cast<int>(size.cy);
  forms::MemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) throw forms::Error("描画用のメモリーが不足しています");
  // An 8-bit display bitmap reads back in its own colours.
  forms::PaletteSelection palette(dc.get(), source.palette.get());

  AreaReducer reducer(sw, sh, w, h);
  const int bandRows = static_cast<int>(std::max<size_t>(1, kBandBytes / (4u * sw)));
  std::vector<uint32_t> band(static_cast<size_t>(sw) * std::min(bandRows, sh));
  for (int top = 0; top < sh; top += bandRows) {
    if (cancelled && cancelled()) return PixelImage();
    const int rows = std::min(bandRows, sh - top);
    BITMAPINFOHEADER header = TrueColourHeader(sw, sh);
    // Scan lines count from the bottom; the band arrives bottom row first.
    const int got = GetDIBits(dc.get(), source.bitmap.get(), static_cast<UINT>(sh - top - rows),
                              static_cast<UINT>(rows), band.data(),
                              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    if (got != rows) throw forms::Error("画像を読み出せません");
    for (int r = rows - 1; r >= 0; --r) reducer.AddRow(&band[static_cast<size_t>(r) * sw]);
  }
  PixelImage out;
  out.width = w;
  out.height = h;
  out.pixels = reducer.TakeResult();
  return out;
}

LoadedPicture PictureOf(const PixelImage& pixels) {
  const int w = pixels.width, h = pixels.height;
  forms::MemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) throw forms::Error("描画用のメモリーが不足しています");
  LoadedPicture picture;
  picture.bitmap = CreateDisplayBitmap(w, h);
  const BITMAPINFOHEADER header = TrueColourHeader(w, -h);
  if (SetDIBits(dc.get(), picture.bitmap.get(), 0, static_cast<UINT>(h), pixels.pixels.data(),
                reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS) != h)
    throw forms::Error("画像を書き込めません");
  picture.width = w;
  picture.height = h;
  return picture;
}

LoadedPicture ReducePicture(const LoadedPicture& source, SIZE size, const CancelCheck& cancelled) {
  const PixelImage pixels = ReducedPixels(source, size, cancelled);
  return pixels.Empty() ? LoadedPicture() : PictureOf(pixels);
}

LoadedPicture FitPicture(LoadedPicture picture, SIZE area, const CancelCheck& cancelled) {
  if (!picture.bitmap) return picture;
  const SIZE own = {picture.width, picture.height};
  const SIZE fitted = FittedSize(own, area);
  if (fitted.cx == own.cx && fitted.cy == own.cy) return picture;
  LoadedPicture reduced = ReducePicture(picture, fitted, cancelled);
  if (reduced.bitmap) reduced.palette = std::move(picture.palette);
  return reduced;
}

LoadedPicture CropPicture(LoadedPicture picture, SIZE area) {
  const int w = std::min<int>(picture.width, area.cx), h = std::min<int>(picture.height, area.cy);
  if (!picture.bitmap || w <= 0 || h <= 0 || (w == picture.width && h == picture.height)) return picture;
  forms::Bitmap source, part;
  source.Adopt(picture.bitmap.release());
  part.Adopt(CreateDisplayBitmap(w, h).release());
  if (source.Empty() || part.Empty()) throw forms::Error("描画用のメモリーが不足しています");
  source.UsePalette(picture.palette.get());
  part.UsePalette(picture.palette.get());
  BitBlt(part.Dc(), 0, 0, w, h, source.Dc(), 0, 0, SRCCOPY);
  part.UsePalette(nullptr);
  source.UsePalette(nullptr);
  LoadedPicture out;
  out.bitmap = part.Release();
  out.palette = std::move(picture.palette);
  out.width = w;
  out.height = h;
  return out;
}

}  // namespace picture
