// The caption's text for each Caption choice, and its place and size at
// 96, 144 and 192 DPI with the cut of a long name. Its pixels on the real
// screen: test_show_keys.py.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "saver/Caption.h"

TEST(Caption, SaysTheDateTheNameOrBoth) {
  picture::PictureFacts f;
  f.name = L"\u5199\u771f.jpg";
  f.hasTime = true;
  f.taken = {2019, 7, 14, 10, 30};
  EXPECT_EQ(saver::CaptionText(f, 0), L"");
  EXPECT_EQ(saver::CaptionText(f, 1), L"\u5199\u771f.jpg");
  EXPECT_EQ(saver::CaptionText(f, 3), L"2019/07/14 10:30  \u5199\u771f.jpg");
  f.hasTime = false;  // a file that could not be looked at
  EXPECT_EQ(saver::CaptionText(f, 3), L"\u5199\u771f.jpg");
  EXPECT_EQ(saver::CaptionText(f, 2), L"");
}

TEST(Caption, ScalesWithTheMonitorAndItsDpiAndCutsLongNamesAtHalfTheWidth) {
  const RECT small = {0, 0, 640, 480}, full = {0, 0, 1920, 1080}, left = {-1280, 0, 0, 1024};
  EXPECT_EQ(saver::LayOutCaption(L"a", {0, 0, 1024, 768}, 96).height, 19);  // 2.5 % of 768
  EXPECT_EQ(saver::LayOutCaption(L"a", small, 96).height, 12);  // never below the dialog font
  EXPECT_EQ(saver::LayOutCaption(L"a", small, 192).height, 24);
  EXPECT_EQ(saver::LayOutCaption(L"a", full, 144).rect.left, 24);  // the margin scales too
  EXPECT_EQ(saver::LayOutCaption(L"a", left, 96).rect.left, -1280 + 16);
  const std::wstring longest = std::wstring(251, L'W') + L".jpg";
  for (int dpi : {96, 144, 192}) {
    const saver::CaptionLine cut = saver::LayOutCaption(longest, full, dpi);
    EXPECT_EQ(cut.rect.bottom, 1080 - MulDiv(16, dpi, 96));
    EXPECT_LE(cut.rect.right - cut.rect.left, 960) << dpi;
    EXPECT_GT(cut.rect.right - cut.rect.left, 800) << dpi;
    EXPECT_EQ(cut.text, std::wstring(cut.text.size() - 1, L'W') + L'\u2026') << dpi;
  }
}
