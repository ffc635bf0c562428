#include "picture/Staging.h"

#include <algorithm>
#include <cmath>

#include "picture/BlurredFill.h"
#include "picture/Resample.h"

namespace picture {

namespace {

SIZE Scaled(SIZE size, double by) {
  return {std::max<LONG>(1, std::lround(size.cx * by)),
          std::max<LONG>(1, std::lround(size.cy * by))};
}

}  // namespace

Staged StagePicture(LoadedPicture decoded, const StageRequest& request, const CancelCheck& cancelled) {
  Staged out;
  const SIZE own = {decoded.width, decoded.height};
  const bool fit = request.fitTo.cx > 0 && request.fitTo.cy > 0;
  const SIZE shown = fit ? FittedSize(own, request.fitTo) : own;
  const SIZE area = request.area;
  const bool within = shown.cx <= area.cx && shown.cy <= area.cy;
  const bool fill = request.fillBars && within && (shown.cx < area.cx || shown.cy < area.cy);
  const bool moves = request.motionZoom > 1 && within;
  if (!fill && !moves) {
    out.shown = fit ? FitPicture(std::move(decoded), request.fitTo, cancelled) : std::move(decoded);
    return out;
  }

  // The sharp copy: zoomed as far as the frames go, or as far as the picture's own pixels allow.
  const double zoom = moves ? std::min(request.motionZoom, static_cast<double>(own.cx) / shown.cx) : 1.0;
  const double scale = std::max(zoom, 1.0);
  SIZE sharpSize = Scaled(shown, scale);
  sharpSize = {std::min(sharpSize.cx, own.cx), std::min(sharpSize.cy, own.cy)};
  PixelImage staged = ReducedPixels(decoded, sharpSize, cancelled);
  decoded = LoadedPicture();  // the full picture goes before the fill is made
  if (staged.Empty()) return out;
  // The part of the copy the shown picture shows: the sharp picture lands
  // exactly where the show places a picture of the shown size.
  const double sx = static_cast<double>(staged.width) / shown.cx, sy = static_cast<double>(staged.height) / shown.cy;
  SourceRect whole = {0, 0, static_cast<double>(staged.width), static_cast<double>(staged.height)};
  SIZE size = shown;
  if (fill) {
    const SIZE filled = {static_cast<LONG>(std::lround(area.cx * sx)), static_cast<LONG>(std::lround(area.cy * sy))};
    const int shownLeft = (area.cx - shown.cx) / 2, shownTop = (area.cy - shown.cy) / 2;
    const int left = static_cast<int>(std::lround(shownLeft * sx)), top = static_cast<int>(std::lround(shownTop * sy));
    staged = FillBars(staged, filled.cx, filled.cy, left, top);
    whole = {left - shownLeft * sx, top - shownTop * sy, area.cx * sx, area.cy * sy};
    size = area;
  }
  if (cancelled && cancelled()) return out;

  if (staged.width == size.cx && staged.height == size.cy) {
    out.shown = PictureOf(staged);
  } else {
    PixelImage smaller(size.cx, size.cy);
    Resample(staged, MapOf(whole, size.cx, size.cy), WholeOf(smaller));
    out.shown = PictureOf(smaller);
  }
  if (moves) {
    out.motion = std::move(staged);
    out.motionWhole = whole;
  }
  return out;
}

}  // namespace picture
