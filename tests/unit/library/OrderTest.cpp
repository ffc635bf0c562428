// Explorer's name order, folder entries, the walk's order and a place in it,
// and the compact list at the library's full size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <windows.h>

#include "library/FolderEntry.h"
#include "library/NaturalOrder.h"
#include "library/PictureList.h"
#include "library/WalkOrder.h"
#include "picture/Decode.h"

using library::CompareNatural;
using library::WalkOrderLess;

TEST(NaturalOrder, NumbersByValueLettersWithoutCase) {
  std::vector<std::wstring> names = {L"img10.jpg", L"IMG2.jpg", L"img1.jpg", L"img.jpg", L"img02.jpg",
                                     L"a100b", L"a20b", L"a20a", L"Zebra", L"apple", L"x9y10", L"x9y9"};
  std::sort(names.begin(), names.end(), library::NaturalLess);
  const std::vector<std::wstring> expected = {L"a20a",    L"a20b",     L"a100b",     L"apple",
                                              L"img.jpg", L"img1.jpg", L"IMG2.jpg",  L"img02.jpg",
                                              L"img10.jpg", L"x9y9",   L"x9y10",     L"Zebra"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(CompareNatural(L"photo", L"photo"), 0);
  EXPECT_NE(CompareNatural(L"Photo", L"photo"), 0);  // told apart, so a sort is total
  EXPECT_LT(CompareNatural(L"9", L"10"), 0);
  EXPECT_LT(CompareNatural(L"99999999999999999999", L"100000000000000000000"), 0);  // no overflow
  EXPECT_LT(CompareNatural(L"\uFF41", L"b"), 0);  // full-width a with the letters
}

TEST(FolderEntry, ATrailingBackslashOfItsOwnMarksAFolder) {
  EXPECT_TRUE(library::IsFolderEntry("C:\\photos\\"));
  EXPECT_TRUE(library::IsFolderEntry("C:\\"));
  EXPECT_FALSE(library::IsFolderEntry("C:\\photos\\a.jpg"));
  EXPECT_FALSE(library::IsFolderEntry(""));
  EXPECT_FALSE(library::IsFolderEntry("C:\\\x95\x5C"));       // ends in 表
  EXPECT_TRUE(library::IsFolderEntry("C:\\\x95\x5C\\"));
  EXPECT_EQ(library::AsFolderEntry("C:\\\x95\x5C"), "C:\\\x95\x5C\\");
  EXPECT_EQ(library::AsFolderEntry("D:\\"), "D:\\");
}

TEST(WalkOrder, WalkOrderPutsAFolderOwnPicturesBeforeItsSubfolders) {
  EXPECT_TRUE(WalkOrderLess("z.jpg", "a\\b.jpg"));
  EXPECT_FALSE(WalkOrderLess("a\\b.jpg", "z.jpg"));
  EXPECT_TRUE(WalkOrderLess("img2.jpg", "img10.jpg"));
  EXPECT_TRUE(WalkOrderLess("a2\\z.jpg", "a10\\a.jpg"));
  EXPECT_TRUE(WalkOrderLess("a\\x\\1.jpg", "b.jpg\\1.jpg"));
  EXPECT_TRUE(WalkOrderLess("same", "same\\inside.jpg"));  // a file before a folder of its name
  EXPECT_FALSE(WalkOrderLess("a.jpg", "a.jpg"));
}

TEST(WalkOrder, ContinuesAfterTheLastPictureEvenWhenItIsGone) {
  const std::vector<std::string> list = {"1.jpg", "2.jpg", "10.jpg", "a\\1.jpg", "a\\b\\1.jpg", "c\\1.jpg"};
  auto at = [&](size_t i) { return list[i]; };
  for (size_t i = 0; i < list.size(); ++i) EXPECT_EQ(library::FirstAfter(list.size(), at, list[i]), i + 1);
  EXPECT_EQ(library::FirstAfter(list.size(), at, ""), 0u);
  EXPECT_EQ(library::FirstAfter(list.size(), at, "3.jpg"), 2u);        // deleted since: the next one
  EXPECT_EQ(library::FirstAfter(list.size(), at, "a\\0.jpg"), 3u);
  EXPECT_EQ(library::FirstAfter(list.size(), at, "a\\zz.jpg"), 4u);    // subfolders follow the files
  EXPECT_EQ(library::FirstAfter(list.size(), at, "b\\1.jpg"), 5u);     // a folder removed since
  EXPECT_EQ(library::FirstAfter(list.size(), at, "zz\\1.jpg"), 6u);    // past the end: the next entry
  EXPECT_EQ(library::FirstAfter(0, at, "1.jpg"), 0u);
}

TEST(PictureList, AHundredThousandPicturesInAThousandFoldersStayUnder32MB) {
  library::PictureList list;
  const uint32_t root = list.AddFolder(library::PictureList::kNoFolder, "D:\\Photos\\");
  uint32_t parent = root;
  for (int f = 0; f < 1000; ++f) {
    // Ten levels deep, then back up to the root: nested, as years and months are.
    if (f % 10 == 0) parent = root;
    parent = list.AddFolder(parent, "2024-" + std::to_string(f) + "\\");
    for (int p = 0; p < 100; ++p) list.AddPicture(parent, "IMG_" + std::to_string(10000 + p) + ".JPG");
  }
  ASSERT_EQ(list.Count(), 100000u);
  EXPECT_LT(list.MemoryBytes(), 32u * 1024 * 1024);
  EXPECT_EQ(list.Path(0), "D:\\Photos\\2024-0\\IMG_10000.JPG");
  EXPECT_EQ(list.Path(99999), "D:\\Photos\\2024-990\\2024-991\\2024-992\\2024-993\\2024-994\\2024-995\\"
                              "2024-996\\2024-997\\2024-998\\2024-999\\IMG_10099.JPG");
  EXPECT_EQ(list.RelativePath(100), "2024-0\\2024-1\\IMG_10000.JPG");
  std::printf("list of 100,000 pictures: %u bytes\n", static_cast<unsigned>(list.MemoryBytes()));
}

// A folder entry that reaches the picture loader as it is (a folder that
// vanished between the walk and the load) is a file of no known kind: a
// failure the show passes over without a message, never an exception.
TEST(FolderEntry, ThePictureLoaderRejectsOneQuietly) {
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string entry = library::AsFolderEntry(windows);
  HDC canvas = CreateCompatibleDC(nullptr);
  picture::DecodeOutcome outcome;
  EXPECT_NO_THROW(outcome = picture::DecodeFile(entry, false, canvas));
  DeleteDC(canvas);
  EXPECT_EQ(outcome.error, 10) << outcome.message;  // unsupported extension
}
