// The blurred fill: three box passes against a straightforward model of
// the same convolution, and the bars of a portrait picture: the sharp
// picture untouched in the middle, around it a blurred copy at about 60 %.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "picture/BlurredFill.h"

using picture::PixelImage;

namespace {

int Channel(uint32_t p, int c) { return static_cast<int>((p >> (8 * c)) & 0xFF); }

// Three box passes across then three down, in doubles, edges repeated.
std::vector<double> ModelBlur(const PixelImage& image, int c, int radius) {
  const int w = image.width, h = image.height;
  std::vector<double> v(static_cast<size_t>(w) * h);
  for (int i = 0; i < w * h; ++i) v[i] = Channel(image.pixels[i], c);
  auto line = [&](int count, auto at) {
    std::vector<double> copy(count);
    for (int i = 0; i < count; ++i) copy[i] = at(i);
    for (int i = 0; i < count; ++i) {
      double sum = 0;
      for (int k = -radius; k <= radius; ++k) sum += copy[std::min(std::max(i + k, 0), count - 1)];
      at(i) = sum / (2 * radius + 1);
    }
  };
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < h; ++y) line(w, [&](int i) -> double& { return v[static_cast<size_t>(y) * w + i]; });
    for (int x = 0; x < w; ++x) line(h, [&](int i) -> double& { return v[static_cast<size_t>(i) * w + x]; });
  }
  return v;
}

}  // namespace

TEST(BoxBlur, MatchesTheModelWithinTheRoundingOfSixPasses) {
  PixelImage image(41, 29);
  std::mt19937 random(4);
  for (uint32_t& p : image.pixels) p = random() & 0x00FFFFFF;
  for (int radius : {1, 3, 7}) {
    PixelImage blurred = image;
    picture::BoxBlur(blurred, radius);
    for (int c = 0; c < 3; ++c) {
      const std::vector<double> model = ModelBlur(image, c, radius);
      double worst = 0;
      for (size_t i = 0; i < model.size(); ++i)
        worst = std::max(worst, std::abs(Channel(blurred.pixels[i], c) - model[i]));
      EXPECT_LE(worst, 3.0) << "radius " << radius << " channel " << c;
    }
  }
}

TEST(FillBars, APortraitKeepsItsPixelsAndGetsDarkBlurredBarsFromItself) {
  // Red on top, blue below, 60 x 100, in a 400 x 100 area.
  PixelImage portrait(60, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 60; ++x) portrait.Row(y)[x] = y < 50 ? 0x00FF0000 : 0x000000FF;
  const PixelImage fill = picture::FillBars(portrait, 400, 100);
  ASSERT_EQ(fill.width, 400);
  ASSERT_EQ(fill.height, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 60; ++x) ASSERT_EQ(fill.Row(y)[170 + x], portrait.Row(y)[x]) << x << "," << y;
  // Covering 400 wide takes the middle 15 rows of the portrait, a red-blue
  // edge: the bars blend the two, darkened; far from the middle row the
  // colour leans to its own side.
  const uint32_t top = fill.Row(2)[20], middle = fill.Row(50)[20], bottom = fill.Row(97)[20];
  EXPECT_GT(Channel(top, 2), Channel(top, 0));
  EXPECT_GT(Channel(bottom, 0), Channel(bottom, 2));
  EXPECT_NEAR(Channel(middle, 2), Channel(middle, 0), 12);
  for (uint32_t p : {top, middle, bottom}) EXPECT_LE(Channel(p, 0) + Channel(p, 2), 255 * 0.61 + 2);
  // Blurred: no step between neighbours anywhere in a bar.
  for (int y = 1; y < 100; ++y)
    for (int x = 1; x < 170; ++x) {
      ASSERT_LE(std::abs(Channel(fill.Row(y)[x], 2) - Channel(fill.Row(y - 1)[x], 2)), 8) << x << "," << y;
      ASSERT_LE(std::abs(Channel(fill.Row(y)[x], 2) - Channel(fill.Row(y)[x - 1], 2)), 8) << x << "," << y;
    }
  // An even colour comes back at 60 % in the bars.
  PixelImage grey(50, 100);
  std::fill(grey.pixels.begin(), grey.pixels.end(), 0x00C8C8C8u);
  EXPECT_EQ(picture::FillBars(grey, 300, 100).Row(40)[10], 0x00787878u);  // 200 * 154 / 256
}
