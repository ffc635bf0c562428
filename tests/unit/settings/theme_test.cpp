// The theme record against real settings files: what the dialog and the
// saver read, the older single-effect keys, and the bytes written on OK.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ScratchPath.h"
#include "settings/ResumeWrite.h"
#include "settings/Theme.h"
#include "forms/Error.h"

namespace {

// A settings file of the test's own, next to the test program.
class ThemeFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = settings_test::PathHere("theme_test.ini");
    std::remove(path_.c_str());
  }
  void TearDown() override { std::remove(path_.c_str()); }

  void Put(const std::string& text) {
    std::ofstream(path_, std::ios::binary) << text;
  }
  std::string Bytes() const {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  settings::IniFile Ini() const { return settings::IniFile(path_.c_str()); }

  std::string path_;
};

using settings::ReadTheme;
using settings::Role;
using settings::Theme;
using settings::WriteTheme;
using Switches = std::vector<bool>;
const Switches kBlindOnly = {false, true, false, false, false, false, false, false};

Switches Of(const settings::EffectSwitches& s) { return Switches(s, s + settings::kEffectKinds); }

Switches Preset(int code, Switches start = kBlindOnly) {
  settings::EffectSwitches s;
  for (int k = 0; k < settings::kEffectKinds; ++k) s[k] = start[k];
  settings::ApplyOlderEffectKey(code, s);
  return Of(s);
}

}  // namespace

// Kinds: none, blind, scroll, stretch, slide, split slide, mesh, fade.
TEST(OlderEffectKey, PresetsTheSwitchesItNames) {
  EXPECT_EQ(Preset(-1), kBlindOnly);
  EXPECT_EQ(Preset(0), (Switches{true, false, false, false, false, false, false, false}));
  EXPECT_EQ(Preset(1), kBlindOnly);
  EXPECT_EQ(Preset(2), (Switches{false, false, true, false, false, false, false, false}));
  EXPECT_EQ(Preset(3), (Switches{false, false, false, true, false, false, false, false}));
  EXPECT_EQ(Preset(4), (Switches{false, false, false, false, false, true, false, false}));
  EXPECT_EQ(Preset(5), (Switches{false, false, false, false, false, false, true, false}));
  EXPECT_EQ(Preset(99), (Switches{false, true, true, true, true, true, true, false}));
  for (int other : {6, 7, 8, 98, 100, -2}) EXPECT_EQ(Preset(other), kBlindOnly) << other;
}

TEST(OlderEffectKey, AddsToWhatTheSwitchKeysSay) {
  const Switches noneAndFade = {true, false, false, false, false, false, false, true};
  EXPECT_EQ(Preset(99, noneAndFade), (Switches{true, true, true, true, true, true, true, true}));
  EXPECT_EQ(Preset(1, noneAndFade), (Switches{true, true, false, false, false, false, false, true}));
}

TEST_F(ThemeFile, ListsAreReadParallelWithNoneForAMissingWave) {
  Put("[Theme2]\r\nImageCount=3\r\nImage0=C:\\a.bmp\r\nImage1=C:\\b.bmp\r\nImage2=C:\\c.bmp\r\n"
      "Wave0=C:\\a.wav\r\nWave2=C:\\c.wav\r\nMidiCount=2\r\nMidi0=C:\\x.mid\r\n"
      "ImageOnEffect=99\r\nImageOffEffect=0\r\nImageFadeOn=1\r\n");
  const Theme r = ReadTheme(Ini(), 2, Role::Dialog);
  EXPECT_EQ(r.Images, (std::vector<std::string>{"C:\\a.bmp", "C:\\b.bmp", "C:\\c.bmp"}));
  EXPECT_EQ(r.Waves, (std::vector<std::string>{"C:\\a.wav", "なし", "C:\\c.wav"}));
  // Only entries that are in the file are listed: Midi1 is not.
  EXPECT_EQ(r.Midis, (std::vector<std::string>{"C:\\x.mid"}));
  EXPECT_EQ(Of(r.AppearOn), (Switches{false, true, true, true, true, true, true, true}));
  EXPECT_EQ(Of(r.EraseOn), (Switches{true, false, false, false, false, false, false, false}));
}

TEST_F(ThemeFile, HugeCountsListOnlyTheEntriesInTheFileAndBelowTheCount) {
  Put("[Theme0]\r\nImageCount=2147483647\r\nImage0=C:\\a.bmp\r\nimage7=C:\\h.bmp\r\n"
      "Image07=C:\\not-seven.bmp\r\nImage99999999999=C:\\too-big.bmp\r\nWave7=C:\\h.wav\r\n"
      "MidiCount=1\r\nMidi0=C:\\a.mid\r\nMidi1=C:\\beyond-count.mid\r\n");
  const DWORD start = GetTickCount();
  const Theme r = ReadTheme(Ini(), 0, Role::Dialog);
  EXPECT_LT(GetTickCount() - start, 1000u);
  EXPECT_EQ(r.ImageCount, 2147483647);
  EXPECT_EQ(r.Images, (std::vector<std::string>{"C:\\a.bmp", "C:\\h.bmp"}));
  EXPECT_EQ(r.Waves, (std::vector<std::string>{"なし", "C:\\h.wav"}));
  EXPECT_EQ(r.Midis, (std::vector<std::string>{"C:\\a.mid"}));
}

TEST_F(ThemeFile, TwentyThousandImagesAreReadInOneGo) {
  std::string text = "[Theme1]\r\nImageCount=20000\r\n";
  for (int k = 0; k < 20000; ++k) text += "Image" + std::to_string(k) + "=C:\\p\\" + std::to_string(k) + ".bmp\r\n";
  Put(text);
  const Theme r = ReadTheme(Ini(), 1, Role::Dialog);
  ASSERT_EQ(r.Images.size(), 20000u);
  EXPECT_EQ(r.Images[19999], "C:\\p\\19999.bmp");
  EXPECT_EQ(r.Waves[19999], "なし");
}

TEST_F(ThemeFile, ValuesOfMoreThan1023BytesAreReadWhole) {
  std::string path = "C:\\";
  while (path.size() < 3000) path += "folder\\";
  path += "x.bmp";
  Put("[Theme0]\r\nImageCount=1\r\nImage0=" + path + "\r\nTitleText0=" + std::string(1500, 't') + "\r\n");
  const Theme r = ReadTheme(Ini(), 0, Role::Dialog);
  ASSERT_EQ(r.Images.size(), 1u);
  EXPECT_EQ(r.Images[0], path);
  EXPECT_EQ(r.Title.Text[0], std::string(1500, 't'));
  settings::IniFile ini = Ini();
  WriteTheme(ini, 0, r);
  EXPECT_NE(Bytes().find("Image0=" + path + "\r\n"), std::string::npos);
}

TEST_F(ThemeFile, TheSaverKeepsItsOwnRules) {
  Put("[Theme3]\r\nTitle=0\r\nTitleText0=unused\r\nFromLastImage=0\r\nLastImageNumber=5\r\n"
      "FromLastMidi=1\r\nLastMidiNumber=2\r\nWave0=\r\nFirstDelay=-2147483648\r\n"
      "ImageOnDelay=2147483647\r\nImageOffDelay=-1\r\nTitleOnDelay=-5\r\nTitleFadeInterval=99999999\r\n"
      "ImageFadeInSpeed=300\r\nImageFadeOutSpeed=7\r\nImageOnEffect=99\r\n"
      "[Theme4]\r\nTitleOnDelay=-5\r\nTitleFadeInterval=99999999\r\n");
  const Theme s = ReadTheme(Ini(), 3, Role::Saver);
  EXPECT_FALSE(s.Title.Title);
  EXPECT_EQ(s.Title.Text[0], "");            // title keys only when Title is on
  EXPECT_EQ(s.LastImageNumber, 0);           // last numbers only when From is on
  EXPECT_EQ(s.LastMidiNumber, 2);
  EXPECT_EQ(Of(s.AppearOn), kBlindOnly);     // the older keys are the dialog's business
  EXPECT_TRUE(s.Images.empty());
  EXPECT_EQ(s.AppearSpeed, 300);
  EXPECT_EQ(s.EraseSpeed, 7);
  // Delays held to 0 .. one day.
  EXPECT_EQ(s.FirstDelay, 0);
  EXPECT_EQ(s.ImageOnDelay, 86400000);
  EXPECT_EQ(s.ImageOffDelay, 0);
  EXPECT_EQ(s.Title.FadeInterval, 100);      // not read: Title is off
  const Theme titled = ReadTheme(Ini(), 4, Role::Saver);
  EXPECT_EQ(titled.Title.OnDelay, 0);
  EXPECT_EQ(titled.Title.FadeInterval, 86400000);
  // The dialog shows the numbers as they are stored.
  const Theme d = ReadTheme(Ini(), 3, Role::Dialog);
  EXPECT_EQ(d.FirstDelay, -2147483647 - 1);
  EXPECT_EQ(d.Title.OnDelay, -5);
  EXPECT_EQ(d.Title.Text[0], "unused");
}

TEST_F(ThemeFile, WritesEveryKeyInOrderAndDropsTheOlderKeys) {
  Put("[Theme0]\r\nTitleText0=by hand\r\nImageOnEffect=99\r\nLastImageNumber=7\r\nLastMidiNumber=2\r\n"
      "Image5=stale\r\n[Theme1]\r\nTitle=0\r\n");
  Theme r = ReadTheme(Ini(), 0, Role::Dialog);
  r.Images = {"C:\\p\\a.bmp", "C:\\p\\b.jpg"};
  r.Waves = {"なし", "C:\\p\\b.wav"};
  r.Midis = {"C:\\m.mid"};
  r.BackColor = -1;
  r.FirstDelay = -5;
  r.Monitors = settings::kAllSame;
  r.ShowKeys = true;
  r.Caption = settings::kCaptionDateAndName;
  settings::IniFile ini = Ini();
  WriteTheme(ini, 0, r);
  const std::string expected =
      "[Theme1]\r\nTitle=0\r\n"
      "[Theme0]\r\nTitle=1\r\nTitleText0=by hand\r\nTitleText1=Glimora\r\n"
      "TitleFontName0=Times New Roman\r\nTitleFontName1=Times New Roman\r\n"
      "TitleFontSize0=48\r\nTitleFontSize1=96\r\nTitleR=255\r\nTitleG=255\r\nTitleB=255\r\n"
      "TitleFadeInterval=100\r\nTitleOnDelay=1500\r\n"
      "ImageCount=2\r\nImage0=C:\\p\\a.bmp\r\nImage1=C:\\p\\b.jpg\r\nWave0=なし\r\nWave1=C:\\p\\b.wav\r\n"
      "ImageOrdRandom=1\r\nFromLastImage=0\r\nLastImageNumber=7\r\n"
      "BGM=1\r\nMidiCount=1\r\nMidi0=C:\\m.mid\r\nMidiOrdRandom=1\r\nFromLastMidi=0\r\nLastMidiNumber=2\r\n"
      "ImageNormalOn=0\r\nImageBlindOn=1\r\nImageScrollOn=1\r\nImageStretchOn=1\r\nImageSlideOn=1\r\n"
      "ImageHalfSlideOn=1\r\nImageMeshOn=1\r\nImageFadeOn=0\r\nImageFadeInSpeed=400\r\n"
      "ImageNormalOff=0\r\nImageBlindOff=1\r\nImageScrollOff=0\r\nImageStretchOff=0\r\nImageSlideOff=0\r\n"
      "ImageHalfSlideOff=0\r\nImageMeshOff=0\r\nImageFadeOff=0\r\nImageFadeOutSpeed=400\r\n"
      "NotErase=0\r\nImagePosRandom=1\r\nImageFit=1\r\nMonitors=2\r\nShowKeys=1\r\nCaption=3\r\nPanZoom=0\r\nBlurFill=0\r\nBackGround=0\r\nBackColor=-1\r\nBackFileName=なし\r\n"
      "FirstDelay=-5\r\nImageOnDelay=3000\r\nImageOffDelay=2000\r\n";
  EXPECT_EQ(Bytes(), expected);
}

TEST_F(ThemeFile, FolderEntriesAndThePlaceInsideAFolderGoBackAsTheyWere) {
  Put("[Theme2]\r\nImageCount=2\r\nImage0=D:\\写真\\\r\nImage1=D:\\a.bmp\r\nWave0=D:\\s.wav\r\n"
      "FromLastImage=1\r\nLastImageNumber=0\r\nLastImageInFolder=2024\\IMG_10.JPG\r\n");
  const Theme d = ReadTheme(Ini(), 2, Role::Dialog);
  ASSERT_EQ(d.Images.size(), 2u);
  EXPECT_EQ(d.Images[0], "D:\\写真\\");
  EXPECT_EQ(d.LastImageInFolder, "2024\\IMG_10.JPG");
  settings::IniFile ini = Ini();
  WriteTheme(ini, 2, d);
  const std::string bytes = Bytes();
  EXPECT_NE(bytes.find("Image0=D:\\写真\\\r\nImage1=D:\\a.bmp\r\nWave0=D:\\s.wav\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("LastImageNumber=0\r\nLastImageInFolder=2024\\IMG_10.JPG\r\nBGM="), std::string::npos);
  EXPECT_EQ(ReadTheme(Ini(), 2, Role::Saver).LastImageInFolder, "2024\\IMG_10.JPG");
  // Without FromLastImage the saver starts at the beginning, inside folders too.
  Put("[Theme2]\r\nFromLastImage=0\r\nLastImageInFolder=x.jpg\r\n");
  EXPECT_EQ(ReadTheme(Ini(), 2, Role::Saver).LastImageInFolder, "");
}

TEST_F(ThemeFile, PanZoomAndBlurFillAreOnOnlyWhenTheySayOne) {
  Put("[Theme0]\r\n[Theme1]\r\nPanZoom=1\r\nBlurFill=1\r\n[Theme2]\r\nPanZoom=2\r\nBlurFill=yes\r\n"
      "[Theme3]\r\nPanZoom=\r\nBlurFill=-1\r\n");
  const bool expected[] = {false, true, false, false};
  for (int n = 0; n < 4; ++n) {
    for (Role role : {Role::Saver, Role::Dialog}) {
      const Theme t = ReadTheme(Ini(), n, role);
      EXPECT_EQ(t.PanZoom, expected[n]) << "Theme" << n;
      EXPECT_EQ(t.BlurFill, expected[n]) << "Theme" << n;
    }
  }
  Theme on = ReadTheme(Ini(), 1, Role::Dialog);
  on.BlurFill = false;
  settings::IniFile ini = Ini();
  WriteTheme(ini, 1, on);
  EXPECT_NE(Bytes().find("Caption=0\r\nPanZoom=1\r\nBlurFill=0\r\nBackGround="), std::string::npos);
}

TEST_F(ThemeFile, MonitorsIsEveryMonitorUnlessItSaysZeroOrTwo) {
  Put("[Theme0]\r\n[Theme1]\r\nMonitors=0\r\n[Theme2]\r\nMonitors=2\r\n[Theme3]\r\nMonitors=3\r\n"
      "[Theme4]\r\nMonitors=-1\r\n[Theme5]\r\nMonitors=two\r\n[Theme6]\r\nMonitors=\r\n"
      "[Theme7]\r\nMonitors=0x2\r\n[Theme8]\r\nMonitors=99999999999\r\n");
  const int expected[] = {1, 0, 2, 1, 1, 1, 1, 2, 1};
  for (int n = 0; n < 9; ++n) {
    EXPECT_EQ(ReadTheme(Ini(), n, Role::Saver).Monitors, expected[n]) << "Theme" << n;
    EXPECT_EQ(ReadTheme(Ini(), n, Role::Dialog).Monitors, expected[n]) << "Theme" << n;
  }
}

// Absent, empty, not a number or out of range: off, as in files from before the keys.
TEST_F(ThemeFile, ShowKeysAndCaptionAreOffUnlessTheyHoldAKnownValue) {
  Put("[Theme0]\r\n[Theme1]\r\nShowKeys=1\r\nCaption=1\r\n[Theme2]\r\nShowKeys=2\r\nCaption=3\r\n"
      "[Theme3]\r\nShowKeys=-1\r\nCaption=4\r\n[Theme4]\r\nShowKeys=\r\nCaption=\r\n"
      "[Theme5]\r\nShowKeys=yes\r\nCaption=date\r\n[Theme6]\r\nShowKeys=0x1\r\nCaption=0x2\r\n"
      "[Theme7]\r\nShowKeys=4294967297\r\nCaption=-2147483648\r\n");
  const bool keys[] = {false, true, false, false, false, false, true, false};
  const int caption[] = {0, 1, 3, 0, 0, 0, 2, 0};
  for (int n = 0; n < 8; ++n) {
    for (Role role : {Role::Saver, Role::Dialog}) {
      const Theme t = ReadTheme(Ini(), n, role);
      EXPECT_EQ(t.ShowKeys, keys[n]) << "Theme" << n;
      EXPECT_EQ(t.Caption, caption[n]) << "Theme" << n;
    }
  }
  // What the dialog saves is what it read, right after Monitors.
  settings::IniFile ini = Ini();
  WriteTheme(ini, 2, ReadTheme(Ini(), 2, Role::Dialog));
  EXPECT_NE(Bytes().find("Monitors=1\r\nShowKeys=0\r\nCaption=3\r\nPanZoom=0\r\n"), std::string::npos);
}

TEST_F(ThemeFile, AFileThatCannotBeWrittenRaisesTheWriteError) {
  settings::IniFile ini("Z:\\no\\such\\folder\\Glimora.ini");
  try {
    WriteTheme(ini, 0, Theme());
    FAIL() << "no error";
  } catch (const forms::Error& e) {
    EXPECT_EQ(std::string(e.what()), "Z:\\no\\such\\folder\\Glimora.ini に書き込めません");
  }
}

// Closing a show writes its resume place by the rule a saved theme follows:
// the place inside a folder stands only while there is one, and every other
// line of the file keeps its bytes.
TEST_F(ThemeFile, TheResumePlaceFollowsTheSavedThemesRule) {
  Put("; kept\r\n[Theme1]\r\nLastImageNumber=4\r\nLastImageInFolder=2024\\IMG_10.JPG\r\nBGM=1\r\n"
      "LastMidiNumber=0\r\n[Theme2]\r\nLastImageInFolder=other.jpg\r\n");
  settings::IniFile ini = Ini();
  settings::ResumePlace place;
  place.imageNumber = 5;
  place.imageInFolder = "2024\\IMG_11.JPG";
  place.midiNumber = 2;
  settings::WriteResumePlace(ini, "Theme1", place);
  EXPECT_EQ(Bytes(), "; kept\r\n[Theme1]\r\nLastImageNumber=5\r\nLastImageInFolder=2024\\IMG_11.JPG\r\nBGM=1\r\n"
                     "LastMidiNumber=2\r\n[Theme2]\r\nLastImageInFolder=other.jpg\r\n");
  // A plain file next: the stale place goes, as a saved theme leaves it out.
  place.imageNumber = 6;
  place.imageInFolder.clear();
  settings::WriteResumePlace(ini, "Theme1", place);
  EXPECT_EQ(Bytes(), "; kept\r\n[Theme1]\r\nLastImageNumber=6\r\nBGM=1\r\nLastMidiNumber=2\r\n"
                     "[Theme2]\r\nLastImageInFolder=other.jpg\r\n");
  settings::WriteResumePlace(ini, "Theme1", place);  // no place and no key: nothing to take out
  EXPECT_EQ(ReadTheme(Ini(), 1, Role::Dialog).LastImageInFolder, "");
  EXPECT_EQ(ReadTheme(Ini(), 1, Role::Dialog).LastImageNumber, 6);
}
