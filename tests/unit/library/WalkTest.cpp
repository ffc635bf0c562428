// The folder walk over real files: Explorer's order, the kinds it keeps,
// names and paths the ANSI functions cannot open, unreadable and missing
// folders, loops through links, drive roots, and results while it runs.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "TempTree.h"
#include "forms/WidePath.h"
#include "library/FolderWalk.h"

using library::FolderListing;
using library::PictureKinds;
using library::WalkCounts;
using library_test::TempTree;

namespace {

// A whole walk, as the show sees it once the walk has ended.
struct Walked {
  std::vector<std::string> paths;
  std::vector<std::string> relative;
  WalkCounts counts;
};

Walked Walk(const std::string& root, std::function<decltype(library::ListFolder)> list = library::ListFolder) {
  library::FolderWalk walk(root, PictureKinds::All(), std::move(list));
  EXPECT_TRUE(walk.WaitDone(30000)) << root;
  Walked out;
  for (size_t i = 0; i < walk.Count(); ++i) {
    out.paths.push_back(walk.Path(i));
    out.relative.push_back(walk.RelativePath(i));
  }
  out.counts = walk.Counts();
  return out;
}

// Shift-JIS bytes as the ANSI functions of this (Japanese) system take them.
std::string Sjis(const std::wstring& text) {
  std::string out;
  library::ToAnsi(text, out);
  return out;
}

}  // namespace

TEST(Walk, ExplorersOrderWithSubfoldersAfterTheFolderOwnPictures) {
  TempTree tree;
  for (const wchar_t* f : {L"img10.bmp", L"img2.JPG", L"IMG1.gif", L"notes.txt", L"b\\z.png", L"a10\\x.bmp",
                           L"a2\\y1.bmp", L"a2\\deeper\\d.bmp", L"a2\\y02.q4", L"empty.bmp\\n.txt"})
    tree.File(f);
  const Walked sink = Walk(tree.RootAnsi());
  const std::vector<std::string> expected = {"IMG1.gif",   "img2.JPG",         "img10.bmp",   "a2\\y1.bmp",
                                             "a2\\y02.q4", "a2\\deeper\\d.bmp", "a10\\x.bmp", "b\\z.png"};
  EXPECT_EQ(sink.relative, expected);
  EXPECT_EQ(sink.paths[0], tree.RootAnsi() + "IMG1.gif");
  EXPECT_EQ(sink.counts.notShown, 0u);
  EXPECT_EQ(sink.counts.unreadable, 0u);
}

TEST(Walk, KeepsTheKindsTheProgramOrAnInstalledPlugInReads) {
  TempTree tree;
  for (const wchar_t* f : {L"a.bmp", L"b.ico", L"c.wmf", L"d.emf", L"e.jpg", L"f.jpeg", L"g.jfif", L"h.tiff",
                           L"i.png", L"j.mag", L"k.pi", L"l.pic", L"m.p2", L"n.q4", L"o.txt", L"p.wav",
                           L"q.mid", L"noextension", L"r.bmp.bak"})
    tree.File(f);
  EXPECT_EQ(Walk(tree.RootAnsi()).paths.size(), 14u);
  const PictureKinds installed = PictureKinds::Installed();
  EXPECT_TRUE(installed.IsPicture(L"x.BMP"));
  EXPECT_TRUE(installed.IsPicture(L"x.emf"));
  EXPECT_FALSE(installed.IsPicture(L"x.txt"));
  char found[MAX_PATH];
  const bool jpegPlugin = SearchPathA(nullptr, "ifjpeg.spi", nullptr, MAX_PATH, found, nullptr) != 0;
  EXPECT_EQ(installed.IsPicture(L"x.jpg"), jpegPlugin);
}

TEST(Walk, NamesTheCodePageCannotHoldAreKeptInTheirWideForm) {
  TempTree tree;
  tree.File(L"\u5199\u771f.bmp");              // 写真.bmp: Shift-JIS has it
  tree.File(L"\uD55C\uAE00.bmp");              // Hangul: it has not
  tree.File(L"Caf\u00E9\U0001F600.bmp");        // é and an emoji: neither
  tree.File(L"\uD55C\\inside1.bmp");           // a folder it cannot name
  tree.File(L"\uD55C\\deeper\\inside2.jpg");
  tree.File(L"\u8868\\ok.bmp");                // 表: trail byte 0x5C
  const Walked sink = Walk(tree.RootAnsi());
  ASSERT_EQ(sink.paths.size(), 6u);
  EXPECT_EQ(sink.counts.notShown, 0u);
  int wide = 0;
  for (size_t i = 0; i < sink.paths.size(); ++i) {
    const std::string path = sink.paths[i];
    wide += forms::HoldsWide(path);
    // Every kept path opens by its wide form, as the picture loader opens it.
    EXPECT_NE(GetFileAttributesW(forms::WidePath(path).c_str()), INVALID_FILE_ATTRIBUTES) << i;
  }
  EXPECT_EQ(wide, 4);
  // Names the code page holds stay plain ANSI paths.
  const std::vector<std::string> relative = sink.relative;
  EXPECT_NE(std::find(relative.begin(), relative.end(), Sjis(L"\u5199\u771f.bmp")), relative.end());
  EXPECT_NE(std::find(relative.begin(), relative.end(), Sjis(L"\u8868\\ok.bmp")), relative.end());
  const std::wstring spelled = L"Caf\u00E9\U0001F600.bmp";
  bool found = false;
  for (size_t i = 0; i < sink.paths.size(); ++i) {
    const std::wstring path = forms::WidePath(sink.paths[i]);
    found |= path.size() > spelled.size() && path.compare(path.size() - spelled.size(), spelled.size(), spelled) == 0;
  }
  EXPECT_TRUE(found) << "the name as the file system spells it";
}

TEST(Walk, PathsBeyondMaxPathAreWalkedAndCountedNotKept) {
  TempTree tree;
  std::wstring deep;
  for (int i = 0; i < 12; ++i) deep += L"folder-with-a-long-name-" + std::to_wstring(i) + L"\\";
  ASSERT_GT(tree.Root().size() + deep.size(), 300u);
  tree.File(L"first.bmp");
  tree.File(deep.substr(0, 100) + L"near.bmp");
  tree.File(deep + L"far1.bmp");
  tree.File(deep + L"far2.bmp");
  const Walked sink = Walk(tree.RootAnsi());
  ASSERT_EQ(sink.paths.size(), 2u);
  EXPECT_EQ(sink.relative[1], Sjis(deep.substr(0, 100)) + "near.bmp");
  EXPECT_EQ(sink.counts.notShown, 2u);
  for (size_t i = 0; i < sink.paths.size(); ++i) EXPECT_LT(sink.paths[i].size(), size_t(MAX_PATH));
}

TEST(Walk, MissingEmptyAndUnreadableFoldersEndOrPassQuietly) {
  TempTree tree;
  EXPECT_EQ(Walk(tree.RootAnsi() + "no such folder\\").counts.unreadable, 1u);
  EXPECT_EQ(Walk(tree.RootAnsi() + "no such folder\\").paths.size(), 0u);
  tree.Folder(L"empty");
  const Walked empty = Walk(tree.RootAnsi() + "empty");
  EXPECT_EQ(empty.paths.size(), 0u);
  EXPECT_EQ(empty.counts.unreadable, 0u);
  tree.File(L"a.bmp");
  EXPECT_EQ(Walk(tree.RootAnsi() + "a.bmp\\").counts.unreadable, 1u);  // a file, not a folder

  // The machine runs as root, so no folder here refuses to be read: the
  // real lister is made to refuse one, as Windows does for a folder
  // without the user's read right.
  tree.File(L"locked\\hidden.bmp");
  tree.File(L"open\\seen.bmp");
  const std::wstring locked = tree.Root() + L"locked\\";
  const Walked sink = Walk(tree.RootAnsi(), [=](const std::wstring& path, FolderListing& out) {
    if (path == locked) return SetLastError(ERROR_ACCESS_DENIED), false;
    return library::ListFolder(path, out);
  });
  const std::vector<std::string> expected = {"a.bmp", "open\\seen.bmp"};
  EXPECT_EQ(sink.relative, expected);
  EXPECT_EQ(sink.counts.unreadable, 1u);
}

TEST(Walk, ADriveRootIsWalkedWithOneBackslash) {
  const std::string picture = "C:\\glimora-walk-root.bmp";
  CloseHandle(CreateFileA(picture.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  // The root alone: the rest of the drive is no business of this test.
  library::FolderWalk walk("C:\\", PictureKinds::All(), [](const std::wstring& path, FolderListing& out) {
    return path == L"C:\\" && library::ListFolder(path, out);
  });
  ASSERT_TRUE(walk.WaitDone(10000));
  std::vector<std::string> found;
  for (size_t i = 0; i < walk.Count(); ++i) found.push_back(walk.Path(i));
  DeleteFileA(picture.c_str());
  EXPECT_NE(std::find(found.begin(), found.end(), picture), found.end());
  for (const std::string& path : found) EXPECT_EQ(path.find("\\\\"), std::string::npos) << path;
}

// Memory running out in a huge walk: the walk ends there, failed, keeping
// what it found, and the program goes on.
TEST(Walk, AWalkThatRaisesEndsWithWhatItFound) {
  TempTree tree;
  tree.File(L"a.bmp");
  tree.File(L"sub\\b.bmp");
  const std::wstring sub = tree.Root() + L"sub\\";
  library::FolderWalk walk(tree.RootAnsi(), PictureKinds::All(), [=](const std::wstring& path, FolderListing& out) {
    if (path == sub) throw std::bad_alloc();
    return library::ListFolder(path, out);
  });
  ASSERT_TRUE(walk.WaitDone(10000));
  ASSERT_EQ(walk.Count(), 1u);
  EXPECT_EQ(walk.RelativePath(0), "a.bmp");
}

TEST(Walk, TheFirstPicturesCanBeReadWhileTheWalkGoesOn) {
  TempTree tree;
  tree.File(L"a1.bmp");
  tree.File(L"a2.bmp");
  tree.File(L"sub\\b.bmp");
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const std::wstring sub = tree.Root() + L"sub\\";
  {
    // The subfolder is held back (a slow disk) until the test lets it go.
    library::FolderWalk walk(tree.RootAnsi(), PictureKinds::All(),
                             [=](const std::wstring& path, FolderListing& out) {
                               if (path == sub) WaitForSingleObject(release, 10000);
                               return library::ListFolder(path, out);
                             });
    for (int i = 0; i < 100 && walk.Count() < 2; ++i) Sleep(50);
    EXPECT_EQ(walk.Count(), 2u);
    EXPECT_FALSE(walk.Now().done);
    EXPECT_EQ(walk.Path(0), tree.RootAnsi() + "a1.bmp");
    SetEvent(release);
    ASSERT_TRUE(walk.WaitDone(10000));
    EXPECT_EQ(walk.Count(), 3u);
    EXPECT_EQ(walk.RelativePath(2), "sub\\b.bmp");
  }
  CloseHandle(release);
}

TEST(Walk, ADroppedWalkStopsOnItsOwn) {
  TempTree tree;
  for (int i = 0; i < 50; ++i) tree.File(L"f" + std::to_wstring(i) + L"\\p.bmp");
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  auto listed = std::make_shared<std::atomic<int>>(0);
  auto token = std::make_shared<int>(0);
  std::weak_ptr<int> running = token;  // expires when the thread lets its lister go
  auto walk = std::make_unique<library::FolderWalk>(
      tree.RootAnsi(), PictureKinds::All(), [=](const std::wstring& path, FolderListing& out) {
        (void)token;
        if (++*listed == 2) WaitForSingleObject(release, 10000);  // held in the first subfolder
        return library::ListFolder(path, out);
      });
  for (int i = 0; i < 200 && *listed < 2; ++i) Sleep(10);
  walk.reset();  // returns at once, while the walk is held
  SetEvent(release);
  token.reset();
  for (int i = 0; i < 1000 && !running.expired(); ++i) Sleep(10);
  EXPECT_TRUE(running.expired());  // the thread has ended without anyone waiting for it
  EXPECT_LE(*listed, 3);           // and listed hardly a folder after the drop
  CloseHandle(release);
}

// library-loops beside the test program: links back to a parent, to the
// folder itself and a second link to a folder (made by make_loops.py).
TEST(Walk, LinksBackToAFolderAlreadyWalkedAreNeverFollowedAgain) {
  char cwd[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, cwd);
  const std::string root = std::string(cwd) + "\\library-loops\\";
  ASSERT_NE(GetFileAttributesA(root.c_str()), INVALID_FILE_ATTRIBUTES) << root;
  const Walked sink = Walk(root);
  const std::vector<std::string> expected = {"top.bmp", "a\\one.bmp", "a\\b\\two.bmp"};
  EXPECT_EQ(sink.relative, expected);
  EXPECT_EQ(sink.counts.notShown, 0u);
}

// Walks of empty and missing folders end within a millisecond, so their
// threads end while the next walks' threads start, as when a theme lists
// several such folders. Every walk must still run to its end (a lost
// thread start showed here about once in a few hundred rounds).
TEST(Walk, EveryWalkRunsWhenShortWalksEndAsOthersStart) {
  TempTree tree;
  tree.Folder(L"empty");
  const std::string folders[] = {tree.RootAnsi() + "empty\\", "C:\\no\\such\\folder\\"};
  for (int round = 0; round < 120; ++round) {
    std::vector<std::unique_ptr<library::FolderWalk>> walks;
    for (int i = 0; i < 3; ++i)
      walks.push_back(std::make_unique<library::FolderWalk>(folders[i % 2], PictureKinds::All()));
    for (const auto& walk : walks) ASSERT_TRUE(walk->WaitDone(10000)) << "round " << round;
  }
}
