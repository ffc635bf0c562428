// The caption as it reaches the screen: its text for each Caption choice,
// and the pixels it leaves on a bitmap the size of a monitor.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "forms/Bitmap.h"
#include "saver/Caption.h"
#include "saver/CaptionOverlay.h"

namespace {

using saver::CaptionLine;

picture::PictureFacts Facts(const std::wstring& name, bool hasTime = true) {
  picture::PictureFacts f;
  f.name = name;
  f.hasTime = hasTime;
  f.taken = {2019, 7, 14, 10, 30};
  return f;
}

// A monitor-sized 32-bit canvas of one colour, its pixels readable.
struct Canvas {
  Canvas(int w, int h, COLORREF fill) {
    bitmap.CreateDib(w, h, 32);
    bitmap.Fill(fill);
  }
  COLORREF At(int x, int y) const {
    const BYTE* p = bitmap.Bits() + y * bitmap.Stride() + x * 4;
    return RGB(p[2], p[1], p[0]);
  }
  // Pixels of exactly that colour inside r.
  int Count(const RECT& r, COLORREF c) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += At(x, y) == c;
    return n;
  }
  RECT All() const { return {0, 0, bitmap.Width(), bitmap.Height()}; }
  forms::Bitmap bitmap;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kDark = RGB(16, 16, 16);

}  // namespace

TEST(Caption, SaysTheDateTheNameOrBoth) {
  EXPECT_EQ(saver::CaptionText(Facts(L"IMG_0001.JPG"), 0), L"");
  EXPECT_EQ(saver::CaptionText(Facts(L"IMG_0001.JPG"), 1), L"IMG_0001.JPG");
  EXPECT_EQ(saver::CaptionText(Facts(L"IMG_0001.JPG"), 2), L"2019/07/14 10:30");
  EXPECT_EQ(saver::CaptionText(Facts(L"\u5199\u771f.jpg"), 3), L"2019/07/14 10:30  \u5199\u771f.jpg");
  EXPECT_EQ(saver::CaptionText(Facts(L"gone.jpg", false), 3), L"gone.jpg");
  EXPECT_EQ(saver::CaptionText(Facts(L"gone.jpg", false), 2), L"");
  picture::PictureFacts early = Facts(L"x");
  early.taken = {7, 1, 2, 3, 4};
  EXPECT_EQ(saver::CaptionText(early, 2), L"0007/01/02 03:04");
}

// White text with a dark outline at the lower left, inside the margin: it
// reads on a white photo and on a black one, and touches nothing else.
TEST(Caption, DrawsWhiteOnDarkAtTheLowerLeftInsideTheMargin) {
  const RECT monitor = {0, 0, 1024, 768};
  const CaptionLine line = saver::LayOutCaption(L"2019/07/14 10:30  IMG_0001.JPG", monitor, 96);
  EXPECT_EQ(line.height, 19);  // 2.5 % of 768
  EXPECT_EQ(line.rect.left, 16);
  EXPECT_EQ(line.rect.bottom, 768 - 16);
  EXPECT_GT(line.rect.right - line.rect.left, 150);
  EXPECT_LT(line.rect.right, 512);
  for (COLORREF photo : {kWhite, RGB(0, 0, 0), RGB(128, 128, 128)}) {
    Canvas c(1024, 768, photo);
    saver::DrawCaption(c.bitmap.Dc(), line);
    EXPECT_GT(c.Count(line.rect, kDark), 300) << photo;
    if (photo != kWhite) EXPECT_GT(c.Count(line.rect, kWhite), 200) << photo;
    const int area = (line.rect.right - line.rect.left) * (line.rect.bottom - line.rect.top);
    EXPECT_EQ(c.Count(c.All(), photo), 1024 * 768 - area + c.Count(line.rect, photo)) << "drawn outside";
  }
}

TEST(Caption, ScalesWithTheMonitorAndItsDpiAndCutsLongNames) {
  const RECT small = {0, 0, 640, 480}, full = {0, 0, 1920, 1080}, left = {-1280, 0, 0, 1024};
  EXPECT_EQ(saver::LayOutCaption(L"a", small, 96).height, 12);  // the dialog font, not 2.5 %
  EXPECT_EQ(saver::LayOutCaption(L"a", small, 192).height, 24);
  EXPECT_EQ(saver::LayOutCaption(L"a", full, 96).height, 27);
  EXPECT_EQ(saver::LayOutCaption(L"a", full, 144).rect.left, 24);  // the margin scales too
  EXPECT_EQ(saver::LayOutCaption(L"a", left, 96).rect.left, -1280 + 16);
  // 255 characters: cut to half the monitor with "…".
  const std::wstring longest = std::wstring(251, L'W') + L".jpg";
  for (int dpi : {96, 144, 192}) {
    const CaptionLine cut = saver::LayOutCaption(longest, full, dpi);
    EXPECT_LE(cut.rect.right - cut.rect.left, 960) << dpi;
    EXPECT_GT(cut.rect.right - cut.rect.left, 800) << dpi;
    ASSERT_GT(cut.text.size(), 2u);
    EXPECT_EQ(cut.text.back(), L'\u2026');
    EXPECT_EQ(cut.text.substr(0, cut.text.size() - 1), std::wstring(cut.text.size() - 1, L'W'));
  }
  // Japanese and a character outside the Japanese code page are drawn, not dropped.
  Canvas c(1024, 768, RGB(0, 0, 0));
  const CaptionLine jp = saver::LayOutCaption(L"\u5199\u771f_caf\u00e9.jpg", {0, 0, 1024, 768}, 96);
  saver::DrawCaption(c.bitmap.Dc(), jp);
  EXPECT_GT(c.Count(jp.rect, kWhite), 150);
  EXPECT_EQ(saver::LayOutCaption(L"", full, 96).rect.right, 0);
}

// The overlay shows the caption over what is on screen and leaves the
// screen bitmap itself untouched.
TEST(Caption, TheOverlayDrawsOverTheWindowOnly) {
  Canvas screen(800, 600, RGB(40, 80, 120)), window(800, 600, RGB(0, 0, 0));
  const CaptionLine line = saver::LayOutCaption(L"IMG_0001.JPG", {0, 0, 800, 600}, 96);
  saver::CaptionOverlay overlay;
  overlay.Show(screen.bitmap.Dc(), line);
  ASSERT_TRUE(overlay.Visible());
  overlay.DrawOver(window.bitmap.Dc(), {0, 0, 800, 300});  // a flush elsewhere: nothing
  EXPECT_EQ(window.Count(window.All(), RGB(0, 0, 0)), 800 * 600);
  overlay.DrawOver(window.bitmap.Dc(), window.All());
  EXPECT_GT(window.Count(line.rect, kWhite), 100);
  EXPECT_GT(window.Count(line.rect, RGB(40, 80, 120)), 100);  // the picture between the letters
  EXPECT_EQ(screen.Count(screen.All(), RGB(40, 80, 120)), 800 * 600);
  overlay.Hide();
  EXPECT_FALSE(overlay.Visible());
}

TEST(Caption, ThePauseMarkSitsInTheUpperRightCorner) {
  const RECT monitor = {0, 0, 1024, 768};
  const RECT mark = saver::PauseMarkRect(monitor, 96);
  EXPECT_EQ(mark.right, 1024 - 16);
  EXPECT_EQ(mark.top, 16);
  EXPECT_LT(mark.bottom, 768 / 4);
  EXPECT_GT(mark.left, 1024 * 3 / 4);
  Canvas c(1024, 768, kWhite);
  saver::DrawPauseMark(c.bitmap.Dc(), mark);
  EXPECT_GT(c.Count(mark, kDark), 40);
  EXPECT_EQ(c.Count(c.All(), kWhite) + c.Count(mark, kDark), 1024 * 768);  // white bars inside dark edges
}
