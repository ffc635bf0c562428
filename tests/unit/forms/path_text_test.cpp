// Folder names that end in a double-byte character whose second byte is 0x5C.
#include <gtest/gtest.h>

#include <string>

#include "forms/OpenDialog.h"
#include "forms/PathText.h"

TEST(PathText, TrailBytesAreNoBackslash) {
  EXPECT_TRUE(forms::EndsWithBackslash("C:\\"));
  EXPECT_TRUE(forms::EndsWithBackslash("C:\\写真\\"));
  EXPECT_FALSE(forms::EndsWithBackslash("C:\\図表"));  // 表 = 95 5C
  EXPECT_FALSE(forms::EndsWithBackslash(""));
  EXPECT_EQ(forms::WithTrailingBackslash("C:\\図表"), "C:\\図表\\");
  EXPECT_EQ(forms::WithTrailingBackslash("C:\\"), "C:\\");
  EXPECT_EQ(forms::WithTrailingBackslash(""), "");
}

TEST(PathText, OpenDialogJoinsAFolderEndingInSuchACharacter) {
  // What GetOpenFileName returns for two files chosen in C:\図表.
  const char result[] = "C:\\図表\0a.bmp\0b.jpg\0";
  auto files = forms::SplitOpenFileResult(result, true);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0], "C:\\図表\\a.bmp");
  EXPECT_EQ(files[1], "C:\\図表\\b.jpg");
}
