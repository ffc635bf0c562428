// Changing the settings file by rewriting it whole: the text edits keep every
// untouched byte, the file is replaced in one step or not at all, and the
// profile functions read the new file afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "ScratchPath.h"
#include "forms/Error.h"
#include "settings/IniFile.h"

using settings::IniFile;
using settings::IniText;

namespace {

TEST(IniText, AKeyWrittenAgainKeepsItsLineAndEveryOtherByte) {
  IniText t("; kept\r\n[Main]\r\nThemeNumber = 3\r\n  themename0=あ\r\n\r\n[Theme0]\nTitle=1\n");
  t.SetValue("main", "ThemeNumber", "4");
  t.SetValue("Main", "ThemeName0", "表示");
  EXPECT_EQ(t.Bytes(), "; kept\r\n[Main]\r\nThemeNumber=4\r\nthemename0=表示\r\n\r\n[Theme0]\nTitle=1\n");
}

TEST(IniText, ANewKeyFollowsTheLastLineOfItsSectionAndANewSectionGoesLast) {
  IniText t("[Main]\r\nThemeNumber=3\r\n\r\n[Theme0]\r\nTitle=1");
  t.SetValue("Main", "CloseMouseMove", "5");
  t.SetValue("Other", "k", "v");
  EXPECT_EQ(t.Bytes(), "[Main]\r\nThemeNumber=3\r\nCloseMouseMove=5\r\n\r\n[Theme0]\r\nTitle=1\r\n[Other]\r\nk=v\r\n");
  IniText empty;
  empty.SetValue("Main", "ThemeNumber", "0");
  EXPECT_EQ(empty.Bytes(), "[Main]\r\nThemeNumber=0\r\n");
}

TEST(IniText, AReplacedSectionMovesToTheEndAndTheOthersStayByteForByte) {
  IniText t("[Theme0]\r\nA=1\r\n[Main]\r\n; note\r\nX = y \r\n[THEME0]\r\nB=2\r\n[Theme1]\r\nC=3\r\n");
  t.ReplaceSection("Theme0", {{"Title", "0"}, {"ImageCount", "0"}});
  EXPECT_EQ(t.Bytes(), "[Main]\r\n; note\r\nX = y \r\n[Theme1]\r\nC=3\r\n[Theme0]\r\nTitle=0\r\nImageCount=0\r\n");
  t.EraseSection("theme1");
  EXPECT_EQ(t.Bytes(), "[Main]\r\n; note\r\nX = y \r\n[Theme0]\r\nTitle=0\r\nImageCount=0\r\n");
}

class WholeFileSave : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = settings_test::PathHere("whole_file_test.ini");
    folder_ = path_.substr(0, path_.find_last_of('\\'));
    DeleteFileA(path_.c_str());
  }
  void TearDown() override { DeleteFileA(path_.c_str()); }
  void Put(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  std::string Bytes() const {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Files in the folder whose names the temporary files would have.
  int Leftovers() const {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder_ + "\\gli*.tmp").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return 0;
    int n = 1;
    while (FindNextFileA(h, &found)) ++n;
    FindClose(h);
    return n;
  }
  std::string path_, folder_;
};

TEST_F(WholeFileSave, TheProfileFunctionsSeeTheNewFileAtOnce) {
  Put("[Main]\r\nThemeNumber=1\r\n");
  IniFile ini(path_.c_str());
  // Read first, so the profile functions hold the old text.
  ASSERT_EQ(ini.ReadInteger("Main", "ThemeNumber", -1), 1);
  for (int round = 2; round < 6; ++round) {
    IniText text = ini.Load();
    text.SetValue("Main", "ThemeNumber", std::to_string(round));
    ini.Save(text);
    EXPECT_EQ(ini.ReadInteger("Main", "ThemeNumber", -1), round);
    EXPECT_EQ(ini.ReadSection("Main").Integer("ThemeNumber", -1), round);
    // A single key write after the save must not bring the old text back.
    ini.WriteInteger("Main", "Other", round);
    EXPECT_EQ(Bytes(), "[Main]\r\nThemeNumber=" + std::to_string(round) + "\r\nOther=" + std::to_string(round) + "\r\n");
  }
  EXPECT_EQ(Leftovers(), 0);
}

TEST_F(WholeFileSave, ALockedFileIsReportedAndLeftAsItWas) {
  Put("[Main]\r\nThemeNumber=1\r\n");
  const std::string before = Bytes();
  HANDLE lock = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  IniFile ini(path_.c_str());
  try {
    ini.Save(IniText("[Main]\r\nThemeNumber=2\r\n"));
    ADD_FAILURE() << "no error raised";
  } catch (const forms::Error& e) {
    EXPECT_EQ(std::string(e.what()), path_ + " に書き込めません");
  }
  EXPECT_THROW(ini.Load(), forms::Error);
  CloseHandle(lock);
  EXPECT_EQ(Bytes(), before);
  EXPECT_EQ(Leftovers(), 0);
}

TEST_F(WholeFileSave, AMissingFileLoadsEmptyAndIsCreated) {
  IniFile ini(path_.c_str());
  IniText text = ini.Load();
  EXPECT_EQ(text.Bytes(), "");
  text.SetValue("Main", "CloseMouseMove", "4");
  ini.Save(text);
  EXPECT_EQ(Bytes(), "[Main]\r\nCloseMouseMove=4\r\n");
}

}  // namespace
