// Placement of the image test display beside the task bar, on an 800 x 600 screen.
#include <gtest/gtest.h>

#include "dialogs/ImagePlacement.h"

namespace {
const int kSW = 800, kSH = 600;
const WindowBounds kDesign = {270, 105, 300, 200};

WindowBounds Place(RECT bar, WindowBounds w) { return PlaceBesideTaskBar(kSW, kSH, &bar, w); }

void Expect(const WindowBounds& got, int left, int top, int width, int height) {
  EXPECT_EQ(got.left, left);
  EXPECT_EQ(got.top, top);
  EXPECT_EQ(got.width, width);
  EXPECT_EQ(got.height, height);
}
}  // namespace

TEST(Placement, BottomBarCentresInTheFreeBand) {
  Expect(Place({-2, 572, 802, 602}, kDesign), 250, 186, 300, 200);
  // Halving rounds down: 572 - 201 = 371 -> 185; 800 - 301 = 499 -> 249.
  Expect(Place({-2, 572, 802, 602}, {0, 0, 301, 201}), 249, 185, 301, 201);
}

TEST(Placement, BottomBarShrinksAnOversizedWindow) {
  Expect(Place({-2, 572, 802, 602}, {270, 105, 1030, 830}), 0, 0, 800, 572);
  // Exactly fitting is not shrinking.
  Expect(Place({-2, 572, 802, 602}, {270, 105, 800, 572}), 0, 0, 800, 572);
  // Too high only: the width stays and is centred.
  Expect(Place({-2, 572, 802, 602}, {270, 105, 300, 700}), 250, 0, 300, 572);
}

TEST(Placement, TopBar) {
  Expect(Place({-2, -2, 802, 28}, kDesign), 250, 28 + (572 - 200) / 2, 300, 200);
  // Too high for the band: one below the bar's bottom, the band's height.
  Expect(Place({-2, -2, 802, 28}, {270, 105, 300, 700}), 250, 29, 300, 572);
  Expect(Place({-2, -2, 802, 28}, {270, 105, 900, 700}), 0, 29, 800, 572);
}

TEST(Placement, RightBar) {
  const RECT bar = {740, -2, 802, 602};
  Expect(Place(bar, kDesign), (740 - 300) / 2, 200, 300, 200);
  Expect(Place(bar, {270, 105, 900, 700}), 0, 0, 740, 600);
}

TEST(Placement, LeftBar) {
  const RECT bar = {-2, -2, 60, 602};
  Expect(Place(bar, kDesign), 60 + (740 - 300) / 2, 200, 300, 200);
  // Too wide: one beyond the bar's right edge, the band's width.
  Expect(Place(bar, {270, 105, 900, 700}), 61, 0, 740, 600);
}

TEST(Placement, NoBarOrNoEdgeKeepsTheDesignBounds) {
  Expect(PlaceBesideTaskBar(kSW, kSH, nullptr, kDesign), 270, 105, 300, 200);
  // A floating rectangle touches no edge: no case applies.
  Expect(Place({100, 100, 400, 300}, kDesign), 270, 105, 300, 200);
}

TEST(Placement, FirstMatchingCaseWins) {
  // Bottom and left at once (a bar in the corner): the bottom case wins.
  Expect(Place({-2, 500, 100, 602}, kDesign), 250, 150, 300, 200);
}
