// Every outcome of a load: the state it leaves and what the user is told,
// for TAll (beep, then a message box) and TAll_nmsg (nothing at all).
#include <gtest/gtest.h>

#include <memory>

#include "PictureTestSupport.h"
#include "forms/Application.h"
#include "forms/Error.h"

using namespace picture_test;

namespace {

struct State {
  int error;
  std::string name;
  bool empty;
  bool preView;
  int orgWidth, orgHeight;
};

State StateOf(const TAll& p) {
  return {p.Error(), p.PictureName(), p.Empty(), p.PreView(), p.OrgWidth(), p.OrgHeight()};
}

// Moves a stand-in plug-in out of reach for the guard's lifetime.
class Hidden {
 public:
  explicit Hidden(const char* file) : file_(file), away_(std::string(file) + ".away") {
    MoveFileA(file_.c_str(), away_.c_str());
  }
  ~Hidden() { MoveFileA(away_.c_str(), file_.c_str()); }

 private:
  std::string file_, away_;
};

class Outcome : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::Application::Get().SetTitle("Glimora");
    InstallBeepHook();
    StandIn("");
  }

  // A JPEG preview load that leaves PreView true and OrgWidth/OrgHeight set,
  // so that a following failure shows whether it resets them.
  static void Prime(TAll& p) {
    StandIn("w=1001 h=750");
    p.SetPreView(true);
    p.SetPictureName(Fixtures() + "prime.jpg");
    ASSERT_EQ(p.Error(), 0);
    ASSERT_EQ(p.OrgWidth(), 1001);
  }

  // Loads name into a primed TAll and a primed TAll_nmsg with the stand-ins
  // set to control; checks the failure's report and that both end alike.
  State ExpectFailure(const std::string& name, const std::string& control, int code,
                      const std::string& message) {
    TAll loud;
    TAll_nmsg quiet;
    Prime(loud);
    Prime(quiet);
    const int width = loud.Width(), height = loud.Height();

    StandIn(control);
    long beeps = ExclamationBeeps();
    std::vector<Box> boxes = WithBoxes([&] { loud.SetPictureName(name); });
    EXPECT_EQ(ExclamationBeeps() - beeps, 1) << name;
    if (boxes.size() == 1) {
      EXPECT_EQ(boxes[0].caption, "Glimora");
      EXPECT_EQ(boxes[0].text, message + " [" + name + "]");
      EXPECT_FALSE(boxes[0].hasIcon);
      EXPECT_EQ(boxes[0].buttons, std::vector<std::string>{"OK"});
      EXPECT_EQ(boxes[0].beepsBefore, beeps + 1) << "the beep comes first";
    } else {
      ADD_FAILURE() << boxes.size() << " message boxes for " << name;
    }

    StandIn(control);
    beeps = AllBeeps();
    boxes = WithBoxes([&] { quiet.SetPictureName(name); });
    EXPECT_TRUE(boxes.empty()) << "TAll_nmsg showed a box for " << name;
    EXPECT_EQ(AllBeeps(), beeps) << "TAll_nmsg beeped for " << name;

    const State a = StateOf(loud), b = StateOf(quiet);
    EXPECT_EQ(a.error, code) << name;
    EXPECT_EQ(b.error, code) << name;
    EXPECT_EQ(a.name, "");
    EXPECT_EQ(b.name, "");
    EXPECT_TRUE(a.empty);
    EXPECT_TRUE(b.empty);
    EXPECT_EQ(a.preView, b.preView);
    EXPECT_EQ(a.orgWidth, b.orgWidth);
    EXPECT_EQ(a.orgHeight, b.orgHeight);
    EXPECT_EQ(loud.Width(), width) << "a failed load keeps the size";
    EXPECT_EQ(loud.Height(), height);
    return a;
  }
};

}  // namespace

TEST_F(Outcome, NativeSuccessClearsTheJpegState) {
  TAll p;
  Prime(p);
  const std::vector<Box> boxes = WithBoxes([&] { p.SetPictureName(Fixtures() + "b24.bmp"); });
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(p.Error(), 0);
  EXPECT_EQ(p.PictureName(), Fixtures() + "b24.bmp");
  EXPECT_FALSE(p.Empty());
  EXPECT_FALSE(p.PreView());
  EXPECT_EQ(p.OrgWidth(), 0);
  EXPECT_EQ(p.OrgHeight(), 0);
  EXPECT_EQ(p.Width(), 37);
  EXPECT_EQ(p.Height(), 21);
}

TEST_F(Outcome, NativeInvalidContentsGiveUnknownFormatAndKeepTheJpegState) {
  WriteFile(Scratch() + "junk.bmp", {'B', 'M', 1, 2, 3});
  const State s = ExpectFailure(Scratch() + "junk.bmp", "", 2, "未知のフォーマット");
  EXPECT_TRUE(s.preView);
  EXPECT_EQ(s.orgWidth, 1001);
  EXPECT_EQ(s.orgHeight, 750);
}

TEST_F(Outcome, UnsupportedExtensionsGive10) {
  for (const char* name : {"photo.jpeg2", "scan.tif_", "noextension", "C:\\dir.jpg\\file", "a.apng"}) {
    const State s = ExpectFailure(name, "", 10, "サポートされない拡張子");
    EXPECT_FALSE(s.preView) << name;
    EXPECT_EQ(s.orgWidth, 0);
    EXPECT_EQ(s.orgHeight, 0);
  }
}

TEST_F(Outcome, MissingPluginGives20AndNamesTheFormat) {
  const State s = ExpectFailure(Fixtures() + "x.mag", "", 20, "IFMAG.SPI not found");
  EXPECT_FALSE(s.preView);
  EXPECT_EQ(s.orgWidth, 0);
}

TEST_F(Outcome, MissingJpegPluginKeepsTheJpegState) {
  TAll loud;
  TAll_nmsg quiet;
  Prime(loud);
  Prime(quiet);
  Hidden hidden("ifjpeg.spi");
  const std::vector<Box> boxes = WithBoxes([&] {
    loud.SetPictureName("a.jpe");
    quiet.SetPictureName("a.jpe");
  });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "IFJPG.SPI not found [a.jpe]");
  for (TAll* p : {static_cast<TAll*>(&loud), static_cast<TAll*>(&quiet)}) {
    EXPECT_EQ(p->Error(), 20);
    EXPECT_EQ(p->PictureName(), "");
    EXPECT_TRUE(p->PreView());
    EXPECT_EQ(p->OrgWidth(), 1001);
  }
}

TEST_F(Outcome, PluginWithoutPreviewServesFullPicturesOnly) {
  // Loaded by path first, these modules are what the bare names then find.
  HMODULE pic2 = LoadLibraryA("nopreview\\ifpic2.spi");
  HMODULE jpeg = LoadLibraryA("nopreview\\ifjpeg.spi");
  ASSERT_TRUE(pic2);
  ASSERT_TRUE(jpeg);
  TAll_nmsg p;
  StandIn("w=12 h=6");
  p.SetPictureName("a.p2");
  EXPECT_EQ(p.Error(), 0);
  EXPECT_EQ(p.Width(), 12);
  p.SetPictureName("a.jpg");
  EXPECT_EQ(p.Error(), 0);
  EXPECT_EQ(p.Width(), 12);
  EXPECT_EQ(StandInLog(),
            "ifpic2.spi:picture@0=0;ifpic2.spi:info@0=0;ifjpeg.spi:info@0=0;ifjpeg.spi:picture@0=0;");

  // Only the preview needs the entry point.
  StandIn("w=12 h=6");
  p.SetPreView(true);
  EXPECT_EQ(p.Error(), 20);
  EXPECT_EQ(StandInLog(), "") << "no call into a plug-in that lacks the entry";
  FreeLibrary(jpeg);
  FreeLibrary(pic2);
}

TEST_F(Outcome, JpegInformationFailingTwiceGivesTheSecondCode) {
  const State s = ExpectFailure("a.jpg", "info=3,4", 4, "メモリーが確保出来ない");
  EXPECT_TRUE(s.preView);
  EXPECT_EQ(s.orgWidth, 1001);
  EXPECT_EQ(StandInLog(), "ifjpeg.spi:info@0=3;ifjpeg.spi:info@128=4;");
}

TEST_F(Outcome, JpegPictureCallFailingAfterTheInformationFailsTheLoad) {
  StandIn("");
  const State s = ExpectFailure("a.jpg", "w=300 h=200 preview=6", 6, "ファイルリードエラー");
  EXPECT_TRUE(s.preView);
  EXPECT_EQ(s.orgWidth, 1001) << "the size of a picture not shown is not reported";
  EXPECT_EQ(StandInLog(), "ifjpeg.spi:info@0=0;ifjpeg.spi:preview@0=6;");
}

TEST_F(Outcome, OtherPictureCallFailingResetsTheJpegState) {
  const State s = ExpectFailure("a.gif", "picture=3", 3, "データが壊れている");
  EXPECT_FALSE(s.preView);
  EXPECT_EQ(s.orgWidth, 0);
  EXPECT_EQ(StandInLog(), "ifgif.spi:picture@0=3;") << "3 is not retried at 128";
}

TEST_F(Outcome, EveryPluginCodeHasItsMessage) {
  const struct {
    int code;
    const char* message;
  } rows[] = {{2, "未知のフォーマット"},   {3, "データが壊れている"}, {4, "メモリーが確保出来ない"},
              {5, "メモリーエラー"},       {6, "ファイルリードエラー"}, {1, "その他のエラー"},
              {-1, "その他のエラー"},      {7, "その他のエラー"},     {99, "その他のエラー"}};
  bool tiff = true;
  for (const auto& row : rows) {
    const std::string codes = std::to_string(row.code) + "," + std::to_string(row.code);
    ExpectFailure(tiff ? "C:\\pics\\image.tif" : "image.pi", "picture=" + codes, row.code, row.message);
    tiff = !tiff;
  }
}

TEST_F(Outcome, PluginPictureThatDoesNotHoldTogetherGivesMemoryError) {
  ExpectFailure("a.q4", "short=1", 5, "メモリーエラー");
  ExpectFailure("a.jpg", "short=1", 5, "メモリーエラー");
}

TEST_F(Outcome, NameTooLongForThePluginsBufferIsNeverHandedOver) {
  const std::string longName = std::string(252, 'n') + ".gif";  // 256 bytes
  ExpectFailure(longName, "", 6, "ファイルリードエラー");
  EXPECT_EQ(StandInLog(), "");

  TAll_nmsg p;
  StandIn("");
  const std::string fits = std::string(251, 'n') + ".gif";  // 255 bytes and the zero
  p.SetPictureName(fits);
  EXPECT_EQ(p.Error(), 0);
  char received[512] = "";
  GetEnvironmentVariableA("GLIMORA_STANDIN_NAME", received, sizeof received);
  EXPECT_EQ(received, fits);
}

TEST_F(Outcome, UnreadableNativeFileIsLeftToTheCaller) {
  for (bool loud : {true, false}) {
    std::unique_ptr<TAll> p(loud ? new TAll : new TAll_nmsg);
    p->SetPictureName(Fixtures() + "b24.bmp");
    const std::string name = Scratch() + "not-there.bmp";
    std::string message;
    const std::vector<Box> boxes = WithBoxes([&] {
      try {
        p->SetPictureName(name);
      } catch (const forms::Error& e) {
        message = e.what();
      }
    });
    EXPECT_TRUE(boxes.empty());
    EXPECT_NE(message.find(name), std::string::npos) << message;
    EXPECT_EQ(p->PictureName(), name);
    EXPECT_EQ(p->Error(), 0);
    EXPECT_TRUE(p->Empty());
  }
}

TEST_F(Outcome, EmptyNameEmptiesThePictureSilently) {
  TAll p;
  p.SetPictureName(Fixtures() + "b24.bmp");
  WithBoxes([&] { p.SetPictureName("x.jpeg2"); });
  ASSERT_EQ(p.Error(), 10);
  p.SetPictureName(Fixtures() + "b24.bmp");
  long beeps = ExclamationBeeps();
  const std::vector<Box> boxes = WithBoxes([&] { p.SetPictureName(""); });
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(ExclamationBeeps(), beeps);
  EXPECT_EQ(p.Error(), 0);
  EXPECT_TRUE(p.Empty());
  EXPECT_EQ(p.PictureName(), "");
  EXPECT_EQ(p.Width(), 37) << "an emptied picture leaves the size";
}
