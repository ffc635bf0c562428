// The background and the title overlay on memory bitmaps, read back pixel by pixel.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "picture/Decode.h"
#include "picture/Loader.h"
#include "saver/Background.h"
#include "saver/TitleOverlay.h"

namespace {

COLORREF At(const forms::Bitmap& s, int x, int y) { return GetPixel(s.Dc(), x, y); }

// A 24-bit BMP of w x h whose pixel (x, y) is colour(x, y).
template <class F>
std::string WriteBmp(const char* name, int w, int h, F colour) {
  int stride = (w * 3 + 3) & ~3;
  std::vector<unsigned char> bits(static_cast<size_t>(stride) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      COLORREF c = colour(x, y);
      unsigned char* p = &bits[static_cast<size_t>(h - 1 - y) * stride + x * 3];
      p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
    }
  BITMAPINFOHEADER info = {sizeof info, w, h, 1, 24, BI_RGB, static_cast<DWORD>(bits.size()), 0, 0, 0, 0};
  BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof info + bits.size()), 0, 0,
                           sizeof file + sizeof info};
  FILE* f = std::fopen(name, "wb");
  std::fwrite(&file, sizeof file, 1, f);
  std::fwrite(&info, sizeof info, 1, f);
  std::fwrite(bits.data(), 1, bits.size(), f);
  std::fclose(f);
  return name;
}

COLORREF Quadrant(int x, int y) {
  static const COLORREF c[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
  return c[(x >= 50) + 2 * (y >= 50)];
}

// The background picture as the worker hands it over: decoded at its own size.
void Tile(const std::string& file, SIZE client, forms::Bitmap& back) {
  picture::DecodeOutcome loaded = picture::DecodeForArea(file, {0, 0}, nullptr);
  saver::TileBackBitmap(loaded.picture, client, back);
}

// Tiles a picture of colour(x, y) over the client and checks every step-th
// pixel of the back bitmap, which must have the expected size.
template <class F>
void ExpectTiles(const char* name, SIZE tile, F colour, SIZE client, SIZE expected, int step) {
  forms::Bitmap back;
  Tile(WriteBmp(name, tile.cx, tile.cy, colour), client, back);
  ASSERT_EQ(back.Width(), expected.cx) << name;
  ASSERT_EQ(back.Height(), expected.cy) << name;
  for (int y = 0; y < expected.cy; y += step)
    for (int x = 0; x < expected.cx; x += step)
      ASSERT_EQ(At(back, x, y), colour(x % tile.cx, y % tile.cy)) << name << " " << x << "," << y;
  EXPECT_EQ(At(back, expected.cx - 1, expected.cy - 1),
            colour((expected.cx - 1) % tile.cx, (expected.cy - 1) % tile.cy));
}

}  // namespace

// Each colour on screen is checked end to end; here, which index gives which.
TEST(Background, ColourByTheLowByteOfTheIndexOverTheClientAndBlackOutside) {
  for (int i : {1, 6, 11}) {
    forms::Bitmap back;
    saver::BuildBackBitmap({saver::kBackColour, i, ""}, {64, 48}, back);
    ASSERT_EQ(back.Width(), 64);
    ASSERT_EQ(back.Height(), 48);
    EXPECT_EQ(At(back, 0, 0), saver::BackColorOf(i)) << i;
    EXPECT_EQ(At(back, 63, 47), saver::BackColorOf(i)) << i;
  }
  for (int i : {0, 12, 255, -1, 256, -256}) EXPECT_EQ(saver::BackColorOf(i), RGB(0, 0, 0)) << i;
  EXPECT_EQ(saver::BackColorOf(257), saver::BackColorOf(1));
  EXPECT_EQ(saver::BackColorOf(256 + 11), saver::BackColorOf(11));
  EXPECT_NE(saver::BackColorOf(1), RGB(0, 0, 0));
}

TEST(Background, APictureBackgroundShowsTheThemesColourUntilItIsLoaded) {
  forms::Bitmap back;
  saver::BuildBackBitmap({saver::kBackImage, 2, "tile.bmp"}, {64, 48}, back);
  ASSERT_EQ(back.Width(), 64);
  EXPECT_EQ(At(back, 10, 10), saver::BackColorOf(2));
}

TEST(Background, TilingCoversTheClientWithWholeTiles) {
  auto ext = [](SIZE c, SIZE t) { SIZE s = saver::TiledExtent(c, t); return std::make_pair(s.cx, s.cy); };
  EXPECT_EQ(ext({640, 480}, {100, 100}), std::make_pair(700L, 500L));
  EXPECT_EQ(ext({640, 480}, {640, 480}), std::make_pair(640L, 480L));
  EXPECT_EQ(ext({640, 480}, {64, 48}), std::make_pair(640L, 480L));
  EXPECT_EQ(ext({640, 480}, {1000, 900}), std::make_pair(1000L, 900L));
}

TEST(Background, TiledPictureRepeatsEverywhere) {
  ExpectTiles("tile_quadrants.bmp", {100, 100}, Quadrant, {640, 480}, {700, 500}, 3);
}

TEST(Background, OddTileSizesRepeatExactly) {
  auto diag = [](int x, int y) { return (x + 2 * y) % 7 == 0 ? RGB(255, 255, 255) : RGB(0, 0, 128); };
  ExpectTiles("tile_odd.bmp", {7, 3}, diag, {100, 50}, {105, 51}, 1);
}

TEST(Background, APictureLargerThanTheClientKeepsOnlyThePartThatShows) {
  ExpectTiles("tile_large.bmp", {300, 200}, Quadrant, {120, 80}, {120, 80}, 1);
}

TEST(Background, UnreadableOrEmptyPictureAndUnknownKindGiveBlackOfTheClient) {
  FILE* f = std::fopen("tile_broken.bmp", "wb");
  std::fputs("BM not a bitmap", f);
  std::fclose(f);
  for (const saver::BackgroundChoice& choice :
       {saver::BackgroundChoice{saver::kBackImage, 3, "no_such_file.bmp"},
        saver::BackgroundChoice{saver::kBackImage, 3, "tile_broken.bmp"},
        saver::BackgroundChoice{saver::kBackImage, 3, ""}, saver::BackgroundChoice{7, 3, ""},
        saver::BackgroundChoice{-1, 3, ""}}) {
    forms::Bitmap back;
    if (choice.Kind == saver::kBackImage) {
      // Loaded as the window's worker loads it: a failure, never an exception.
      picture::LoadResult loaded = picture::LoadPictureFile({choice.FileName, {0, 0}}, nullptr, nullptr);
      EXPECT_NE(loaded.error, 0) << choice.FileName;
      saver::TileBackBitmap(loaded.picture, {80, 60}, back);
    } else {
      saver::BuildBackBitmap(choice, {80, 60}, back);
    }
    ASSERT_EQ(back.Width(), 80) << choice.FileName << choice.Kind;
    ASSERT_EQ(back.Height(), 60);
    EXPECT_EQ(At(back, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(At(back, 79, 59), RGB(0, 0, 0));
  }
}

// A white title is drawn just below white (251), since white is the key.
TEST(TitleOverlay, TextInTheTitleColourOverTheBackgroundCentred) {
  forms::Bitmap back;
  back.Create(400, 300);
  back.Fill(RGB(0, 0, 255));
  saver::TitleLine line{"Glimora", "Times New Roman", 48, RGB(255, 255, 255)};
  forms::Bitmap stage;
  RECT rect;
  saver::BuildTitleOverlay(line, back.Dc(), {0, 0, 400, 300}, stage, rect);
  ASSERT_FALSE(stage.Empty());
  EXPECT_EQ(rect.right - rect.left, stage.Width());
  EXPECT_EQ(rect.bottom - rect.top, stage.Height());
  EXPECT_EQ(rect.left, (400 - stage.Width()) / 2);
  EXPECT_EQ(rect.top, (300 - stage.Height()) / 2);
  EXPECT_NEAR(stage.Height(), 48, 1);  // the cell height, as the font engine rounds it
  int text = 0, other = 0;
  for (int y = 0; y < stage.Height(); ++y)
    for (int x = 0; x < stage.Width(); ++x) {
      COLORREF c = At(stage, x, y);
      if (c == RGB(251, 251, 251)) {
        ++text;
      } else if (c != RGB(0, 0, 255)) {
        ++other;
      }
    }
  EXPECT_GT(text, 200);
  EXPECT_EQ(other, 0);  // no blending: text colour or background, nothing else
}

TEST(TitleOverlay, EmptyTextGivesNoOverlay) {
  forms::Bitmap back;
  back.Create(100, 100);
  forms::Bitmap stage;
  RECT rect;
  saver::BuildTitleOverlay({"", "Arial", 24, RGB(1, 2, 3)}, back.Dc(), {0, 0, 100, 100}, stage, rect);
  EXPECT_TRUE(stage.Empty());
}

TEST(TitleOverlay, CentringRoundsTowardZero) {
  RECT r = saver::CenteredInArea({0, 0, 640, 480}, {101, 51});
  EXPECT_EQ(r.left, 269);
  EXPECT_EQ(r.top, 214);
  r = saver::CenteredInArea({0, 0, 640, 480}, {701, 481});
  EXPECT_EQ(r.left, -30);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 671);
}
