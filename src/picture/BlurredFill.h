// The bars a fitted picture leaves on its monitor, filled with the picture
// itself: scaled to cover the whole area, blurred and darkened, with the
// sharp picture centred on top. Made on the loader's worker.
#pragma once
#include "picture/PixelImage.h"

namespace picture {

// The share of the bars' brightness left after darkening, in 1/256.
constexpr int kFillBrightness = 154;  // about 60 %

// Blurs every channel by three box passes across and three down, each
// averaging 2 * radius + 1 pixels (edge pixels repeat beyond the edges):
// close to a Gaussian of sigma = radius.
void BoxBlur(PixelImage& image, int radius);

// The area, areaW x areaH, with sharp at (left, top) in it and the rest the
// blurred, darkened cover of sharp: a Gaussian of about 3 % of the area's
// width. Parts of sharp outside the area are cut.
PixelImage FillBars(const PixelImage& sharp, int areaW, int areaH, int left, int top);
// The same with sharp centred, as the show centres pictures.
PixelImage FillBars(const PixelImage& sharp, int areaW, int areaH);

}  // namespace picture
