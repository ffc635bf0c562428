// Which file holds the settings, and how they move to the user's own file:
// real files in a scratch folder of the test prefix standing for the Windows
// folder, the VirtualStore and the user's application data.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "forms/Error.h"
#include "settings/IniFile.h"

using settings::IniFile;
using settings::SettingsPlaces;

namespace {

const std::string kRoot = "C:\\glimora-place-test";

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void Put(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Last write time of a file, in days before now.
void Age(const std::string& path, int days) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
  t.QuadPart -= static_cast<ULONGLONG>(days) * 24 * 3600 * 10000000ULL;
  FILETIME then{t.LowPart, t.HighPart};
  HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  SetFileTime(f, nullptr, nullptr, &then);
  CloseHandle(f);
}

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA d;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &d);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = d.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = dir + "\\" + name;
      if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
      else DeleteFileA(path.c_str());
    } while (FindNextFileA(h, &d));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

class SettingsPlaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveTree(kRoot);
    CreateDirectoryA(kRoot.c_str(), nullptr);
    CreateDirectoryA((kRoot + "\\windows").c_str(), nullptr);
    CreateDirectoryA((kRoot + "\\store").c_str(), nullptr);
    places.systemFile = kRoot + "\\windows\\Glimora.ini";
    places.virtualStoreFile = kRoot + "\\store\\Glimora.ini";
    places.userFile = kRoot + "\\roaming\\Glimora\\Glimora.ini";  // neither folder exists yet
  }
  void TearDown() override { RemoveTree(kRoot); }
  SettingsPlaces places;
};

TEST_F(SettingsPlaceTest, TheUsersFileWinsThenTheNewerOfTheWindowsFolderAndTheVirtualStore) {
  EXPECT_EQ(places.Current(), places.systemFile);  // nothing anywhere: the Windows folder, as ever
  Put(places.systemFile, "[Main]\r\nThemeNumber=1\r\n");
  Put(places.virtualStoreFile, "[Main]\r\nThemeNumber=2\r\n");
  Age(places.systemFile, 3);
  Age(places.virtualStoreFile, 2);
  EXPECT_EQ(places.Current(), places.virtualStoreFile);
  EXPECT_EQ(IniFile(places).ReadInteger("Main", "ThemeNumber", 0), 2);
  // Saved in the Windows folder after the copy was made (by an elevated run): that one is newer.
  Age(places.virtualStoreFile, 4);
  EXPECT_EQ(places.Current(), places.systemFile);
  DeleteFileA(places.systemFile.c_str());
  EXPECT_EQ(places.Current(), places.virtualStoreFile);

  CreateDirectoryA((kRoot + "\\roaming").c_str(), nullptr);
  CreateDirectoryA((kRoot + "\\roaming\\Glimora").c_str(), nullptr);
  Put(places.userFile, "");  // cut to nothing from outside: passed over
  EXPECT_EQ(places.Current(), places.virtualStoreFile);
  Put(places.userFile, "[Main]\r\nThemeNumber=3\r\n");
  EXPECT_EQ(places.Current(), places.userFile);
  EXPECT_EQ(IniFile(places).ReadInteger("Main", "ThemeNumber", 0), 3);
}

TEST_F(SettingsPlaceTest, AChangeToTheVirtualStoreCopyMovesTheWholeFileToTheUsersOwn) {
  const std::string stored = "; saved by an older build\r\n[Main]\r\nThemeNumber=4\r\nThemeName4=\x95\x5c\x8e\xa6\r\n"
                             "[Theme4]\r\nImageCount=1\r\nImage0=C:\\pics\\a.bmp\r\nLastImageNumber=0\r\n";
  Put(places.systemFile, "[Main]\r\nThemeNumber=0\r\n");
  Put(places.virtualStoreFile, stored);
  const std::string system = Bytes(places.systemFile);

  IniFile resume(places);
  resume.WriteInteger("Theme4", "LastImageNumber", 1);
  resume.WriteInteger("Theme4", "LastMidiNumber", 0);  // the next write goes straight to the new file
  EXPECT_EQ(resume.Path(), places.userFile);
  EXPECT_EQ(Bytes(places.userFile),
            "; saved by an older build\r\n[Main]\r\nThemeNumber=4\r\nThemeName4=\x95\x5c\x8e\xa6\r\n"
            "[Theme4]\r\nImageCount=1\r\nImage0=C:\\pics\\a.bmp\r\nLastImageNumber=1\r\nLastMidiNumber=0\r\n");
  EXPECT_EQ(Bytes(places.virtualStoreFile), stored);  // the originals stay as they were
  EXPECT_EQ(Bytes(places.systemFile), system);

  // From now on the user's file is read and written; erasing everything keeps a file that counts.
  IniFile dialog(places);
  EXPECT_EQ(dialog.Path(), places.userFile);
  dialog.EraseSection("Main");
  dialog.EraseSection("Theme4");
  EXPECT_EQ(Bytes(places.userFile), "; saved by an older build\r\n");
  dialog.Save(settings::IniText());
  EXPECT_EQ(Bytes(places.userFile), "[Main]\r\n");
  EXPECT_EQ(places.Current(), places.userFile);
  EXPECT_EQ(IniFile(places).ReadInteger("Main", "ThemeNumber", 7), 7);
}

TEST_F(SettingsPlaceTest, RealFailuresStayErrorsNamingTheFileThatCouldNotBeWritten) {
  // A Windows-folder file held open by another program is no lack of rights: no move.
  Put(places.systemFile, "[Main]\r\nThemeNumber=1\r\n");
  HANDLE lock = CreateFileA(places.systemFile.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  try {
    IniFile(places).WriteInteger("Main", "ThemeNumber", 2);
    ADD_FAILURE() << "no error raised";
  } catch (const forms::Error& e) {
    EXPECT_EQ(std::string(e.what()), places.systemFile + " に書き込めません");
  }
  CloseHandle(lock);
  EXPECT_FALSE(Exists(places.userFile));

  // The user's folder cannot be made (a file stands where it would go): the box names the user's file.
  Put(places.virtualStoreFile, "[Main]\r\nThemeNumber=5\r\n");
  Put(kRoot + "\\roaming", "not a folder");
  try {
    IniFile(places).WriteInteger("Main", "ThemeNumber", 6);
    ADD_FAILURE() << "no error raised";
  } catch (const forms::Error& e) {
    EXPECT_EQ(std::string(e.what()), places.userFile + " に書き込めません");
  }
  EXPECT_EQ(Bytes(places.virtualStoreFile), "[Main]\r\nThemeNumber=5\r\n");
}

}  // namespace
