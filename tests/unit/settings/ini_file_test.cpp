// The settings layer against real files in the Windows directory of the test prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "forms/Error.h"
#include "settings/IniFile.h"

using settings::IniFile;

namespace {

const char kTestFile[] = "GlimoraSettingsTest.ini";

std::string PathOf(const char* name) { return IniFile(name).Path(); }

std::string FileBytes(const char* name) {
  std::ifstream in(PathOf(name), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFileBytes(const char* name, const std::string& bytes) {
  std::ofstream out(PathOf(name), std::ios::binary | std::ios::trunc);
  out << bytes;
}

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override { DeleteFileA(PathOf(kTestFile).c_str()); }
  void TearDown() override { DeleteFileA(PathOf(kTestFile).c_str()); }
  // A section "S" holding key=value lines, written as a user would by hand.
  void Given(const std::string& lines) { WriteFileBytes(kTestFile, "[S]\r\n" + lines); }
  IniFile ini{kTestFile};
};

TEST_F(IniFileTest, IntegerConversionRules) {
  Given(
      "hex=0x3\r\nhexcaps=0X1f\r\ndollar=$10\r\nneg=-5\r\nplus=+7\r\nblank= 12\r\ntrail=12 \r\n"
      "word=abc\r\nempty=\r\nbig=2147483648\r\nmin=-2147483648\r\nmax=2147483647\r\n"
      "x2=0x\r\nallf=$FFFFFFFF\r\nnegdollar=-$10\r\nhexword=0xZZ\r\nsignonly=-\r\n");
  EXPECT_EQ(ini.ReadInteger("S", "hex", 99), 3);
  EXPECT_EQ(ini.ReadInteger("S", "hexcaps", 99), 31);
  EXPECT_EQ(ini.ReadInteger("S", "dollar", 99), 16);
  EXPECT_EQ(ini.ReadInteger("S", "neg", 99), -5);
  EXPECT_EQ(ini.ReadInteger("S", "plus", 99), 7);
  EXPECT_EQ(ini.ReadInteger("S", "blank", 99), 12);
  EXPECT_EQ(ini.ReadInteger("S", "word", 99), 99);
  EXPECT_EQ(ini.ReadInteger("S", "empty", 99), 99);
  EXPECT_EQ(ini.ReadInteger("S", "missing", 99), 99);
  EXPECT_EQ(ini.ReadInteger("Nowhere", "hex", 42), 42);
  EXPECT_EQ(ini.ReadInteger("S", "big", 99), 99);
  EXPECT_EQ(ini.ReadInteger("S", "min", 99), -2147483647 - 1);
  EXPECT_EQ(ini.ReadInteger("S", "max", 99), 2147483647);
  EXPECT_EQ(ini.ReadInteger("S", "x2", 99), 99);
  EXPECT_EQ(ini.ReadInteger("S", "allf", 99), -1);
  EXPECT_EQ(ini.ReadInteger("S", "negdollar", 99), -16);
  EXPECT_EQ(ini.ReadInteger("S", "hexword", 99), 99);
  EXPECT_EQ(ini.ReadInteger("S", "signonly", 99), 99);
}

TEST_F(IniFileTest, TrailingBlanksOfAValueAreTheFileFunctionsBusiness) {
  // The profile functions strip blanks around a value, so "12 " reads as 12.
  Given("trail=12 \r\n");
  EXPECT_EQ(ini.ReadInteger("S", "trail", 99), 12);
}

TEST_F(IniFileTest, BooleanIsAnyInteger) {
  Given("two=2\r\nzero=0\r\nword=yes\r\nneg=-1\r\n");
  EXPECT_TRUE(ini.ReadBool("S", "two", false));
  EXPECT_FALSE(ini.ReadBool("S", "zero", true));
  EXPECT_TRUE(ini.ReadBool("S", "word", true));
  EXPECT_FALSE(ini.ReadBool("S", "word", false));
  EXPECT_TRUE(ini.ReadBool("S", "neg", false));
  EXPECT_TRUE(ini.ReadBool("S", "missing", true));
}

TEST_F(IniFileTest, WritesIntegersAndBooleansAsDecimalText) {
  ini.WriteInteger("S", "a", -123);
  ini.WriteInteger("S", "b", 0);
  ini.WriteBool("S", "t", true);
  ini.WriteBool("S", "f", false);
  EXPECT_EQ(FileBytes(kTestFile), "[S]\r\na=-123\r\nb=0\r\nt=1\r\nf=0\r\n");
}

TEST_F(IniFileTest, ShiftJisThemeNameOfThirtyBytesComesBackWhole) {
  // Fifteen full-width characters: thirty bytes in Shift-JIS.
  const std::string name = "あいうえおかきくけこさしすせそ";
  ASSERT_EQ(name.size(), 30u);
  ini.WriteString("Main", "ThemeName3", name);
  EXPECT_EQ(ini.ReadString("Main", "ThemeName3", ""), name);
  EXPECT_NE(FileBytes(kTestFile).find("ThemeName3=" + name + "\r\n"), std::string::npos);
  // A trail byte of 0x5C ("表" is 95 5C) is no path separator to the file functions.
  const std::string table = "表示";
  ini.WriteString("Main", "Name", table);
  EXPECT_EQ(ini.ReadString("Main", "Name", ""), table);
}

TEST_F(IniFileTest, LongValuesComeBackWhole) {
  for (size_t size : {1022u, 1023u, 1024u, 5000u}) {
    std::string value(size, 'v');
    for (size_t i = 0; i < value.size(); ++i) value[i] = static_cast<char>('a' + i % 26);
    ini.WriteString("S", "long", value);
    EXPECT_EQ(ini.ReadString("S", "long", ""), value) << size;
    EXPECT_EQ(ini.ReadSection("S").String("long", ""), value) << size;
  }
}

TEST_F(IniFileTest, EraseSectionRemovesAllItsKeysAndNothingElse) {
  ini.WriteString("Theme1", "Title", "1");
  ini.WriteString("Theme2", "ImageCount", "3");
  ini.WriteString("Theme2", "Image0", "C:\\a.bmp");
  ini.WriteString("Theme3", "BGM", "0");
  ini.EraseSection("Theme2");
  EXPECT_EQ(ini.ReadString("Theme2", "ImageCount", "gone"), "gone");
  EXPECT_EQ(ini.ReadString("Theme2", "Image0", "gone"), "gone");
  EXPECT_EQ(FileBytes(kTestFile), "[Theme1]\r\nTitle=1\r\n[Theme3]\r\nBGM=0\r\n");
  ini.EraseSection("NeverThere");  // erasing a missing section is no error
}

TEST_F(IniFileTest, KeysAppearInTheOrderOfWriting) {
  const char* keys[] = {"Title", "TitleText0", "ImageCount", "Image0", "Wave0", "BGM", "FirstDelay"};
  for (const char* k : keys) ini.WriteString("Theme0", k, k);
  std::string expected = "[Theme0]\r\n";
  for (const char* k : keys) expected += std::string(k) + "=" + k + "\r\n";
  EXPECT_EQ(FileBytes(kTestFile), expected);
}

TEST_F(IniFileTest, CatalogueDefaultsDependOnTheReader) {
  EXPECT_EQ(ini.Read("Main", settings::key::ThemeNumber, settings::Role::Saver), 10);
  EXPECT_EQ(ini.Read("Main", settings::key::ThemeNumber, settings::Role::Dialog), 0);
  EXPECT_EQ(ini.Read("Theme0", settings::key::Wave, settings::Role::Saver), "");
  EXPECT_EQ(ini.Read("Theme0", settings::key::Wave, settings::Role::Dialog), "なし");
  EXPECT_EQ(ini.Read("Main", settings::key::ThemeName, settings::Role::Dialog), "名称未設定");
  EXPECT_EQ(settings::ThemeSection(10), "Theme10");
  EXPECT_EQ(settings::Numbered("Image", 12), "Image12");
}

TEST_F(IniFileTest, WriteToALockedFileRaisesTheMessageAndLeavesTheFileWhole) {
  ini.WriteString("Main", "ThemeNumber", "3");
  const std::string before = FileBytes(kTestFile);
  HANDLE lock = CreateFileA(PathOf(kTestFile).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  try {
    ini.WriteString("Main", "ThemeNumber", "4");
    ADD_FAILURE() << "no error raised";
  } catch (const forms::Error& e) {
    EXPECT_EQ(std::string(e.what()), PathOf(kTestFile) + " に書き込めません");
  }
  EXPECT_THROW(ini.EraseSection("Main"), forms::Error);
  CloseHandle(lock);
  EXPECT_EQ(FileBytes(kTestFile), before);
}

TEST(IniFileErrors, WriteIntoAMissingFolderRaisesTheMessage) {
  IniFile ini("C:\\no-such-folder-here\\Glimora.ini");
  try {
    ini.WriteInteger("Main", "ThemeNumber", 1);
    ADD_FAILURE() << "no error raised";
  } catch (const forms::Error& e) {
    EXPECT_EQ(std::string(e.what()), "C:\\no-such-folder-here\\Glimora.ini に書き込めません");
  }
}

TEST(IniFileDefaultName, LivesInTheWindowsDirectory) {
  char dir[MAX_PATH];
  GetWindowsDirectoryA(dir, MAX_PATH);
  EXPECT_EQ(IniFile().Path(), std::string(dir) + "\\Glimora.ini");
}

}  // namespace

TEST_F(IniFileTest, ASectionReadGivesWhatSingleKeyReadsGive) {
  // Hand-written oddities: blanks, quotes, case, repeats, empty values, comments.
  Given(" spaced = 12 \r\nquoted=\"a b\"\r\nsingle='x'\r\nhalf=\"open\r\nUPPER=1\r\nupper=2\r\n"
        "empty=\r\n;comment=9\r\nhex=0x1F\r\nsjis=表示\r\ninner=a=b\r\n");
  const settings::Section s = ini.ReadSection("S");
  for (const char* key : {"spaced", "quoted", "single", "half", "upper", "UPPER", "empty", "hex", "sjis", "inner",
                          "missing"}) {
    EXPECT_EQ(s.String(key, "default"), ini.ReadString("S", key, "default")) << key;
    EXPECT_EQ(s.Integer(key, -7), ini.ReadInteger("S", key, -7)) << key;
  }
  // A comment is no key of the section (no key of ours begins with ';').
  EXPECT_EQ(s.Find(";comment"), nullptr);
  EXPECT_EQ(s.Entries().size(), 9u);  // "upper" once: the first of the two counts
  EXPECT_EQ(ini.ReadSection("Nowhere").Entries().size(), 0u);
}
