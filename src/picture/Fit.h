// Pictures fitted to a client area: the size they show at, and a smooth
// reduction to it in which every target pixel is the mean of the source
// area it covers (no source pixel is dropped).
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "picture/NativeFormats.h"
#include "picture/PixelImage.h"

namespace picture {

// The size a picture shows at in area: its own when it fits both ways,
// otherwise the largest size with its aspect that fits (each side >= 1).
SIZE FittedSize(SIZE picture, SIZE area);

// Area averaging of 32-bit BGRx rows (blue in the low byte) fed top to
// bottom. Each source pixel lends its colour to the one or two target
// pixels it overlaps, in proportion to the overlap, so the sums are exact
// integers and the result is rounded once. Only reduces (target <= source).
class AreaReducer {
 public:
  AreaReducer(int sourceWidth, int sourceHeight, int width, int height);
  void AddRow(const uint32_t* row);
  // Top row first; complete once every source row has been added.
  const std::vector<uint32_t>& Result() const { return result_; }
  std::vector<uint32_t> TakeResult() { return std::move(result_); }

 private:
  void SumRow(const uint32_t* row);
  void Accumulate(std::vector<uint64_t>& into, uint32_t weight);
  void EmitRow();

  int sourceWidth_, sourceHeight_, width_, height_;
  int sourceRow_ = 0, targetRow_ = 0;
  std::vector<int> column_;          // target column of each source column
  std::vector<uint32_t> share_;      // its weight there; the rest goes to the next column
  std::vector<uint32_t> rowSums_;    // one source row reduced across, 3 sums a pixel
  std::vector<uint64_t> current_, next_;  // target rows being gathered
  std::vector<uint32_t> result_;
};

// Returns true when the work should stop (the result is then thrown away).
using CancelCheck = std::function<bool()>;

// The picture's pixels reduced to size (at most its own) with area
// averaging. The source is read in bands of rows (paletted and 8-bit
// pictures come out as true colour), so no second full-size copy is made.
// Empty when cancelled; throws forms::Error when GDI cannot read it.
PixelImage ReducedPixels(const LoadedPicture& source, SIZE size, const CancelCheck& cancelled);

// Pixels as a display-format picture. Throws forms::Error when GDI cannot make the bitmap.
LoadedPicture PictureOf(const PixelImage& pixels);

// ReducedPixels as a display-format picture; empty when cancelled.
LoadedPicture ReducePicture(const LoadedPicture& source, SIZE size, const CancelCheck& cancelled);

// The picture shrunk to fit area when it is larger in either direction;
// otherwise the picture itself.
LoadedPicture FitPicture(LoadedPicture picture, SIZE area, const CancelCheck& cancelled);

// The top-left part of the picture that a window of `area` shows when the
// picture is tiled from its corner; the picture itself when it fits.
LoadedPicture CropPicture(LoadedPicture picture, SIZE area);

}  // namespace picture
