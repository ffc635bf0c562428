// The background loader with the real plug-ins: results arrive by message
// and match a load on the calling thread, every EXIF orientation comes out
// upright, failures are reported, cancelled and overtaken loads deliver
// nothing, and an abandoned worker finishes without a leak.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "LoaderTestSupport.h"
#include "forms/Gdi.h"
#include "picture/All.h"
#include "picture/Decode.h"
#include "picture/Fit.h"
#include "picture/Loader.h"
#include "support/resource_counts.h"

using namespace loader_test;
using picture::Loader;
using picture::LoadRequest;
using picture::LoadResult;

namespace {

constexpr DWORD kWait = 60000;

LoadRequest Request(const std::string& file, SIZE fitTo = {1024, 768}) {
  LoadRequest r;
  r.fileName = Files() + file;
  r.fitTo = fitTo;
  return r;
}

// Loads one file on the worker and takes the result. A message of an earlier
// load (one that finished just before it was cancelled) is passed over.
LoadResult LoadOnWorker(Receiver& receiver, Loader& loader, LoadRequest request) {
  const unsigned ticket = loader.Start(std::move(request));
  unsigned got = 0;
  while (receiver.Wait(kWait, &got) && got != ticket) EXPECT_FALSE(loader.Take(got).has_value());
  EXPECT_EQ(got, ticket);
  std::optional<LoadResult> result = loader.Take(ticket);
  EXPECT_TRUE(result.has_value());
  return result ? std::move(*result) : LoadResult();
}

bool WaitForWorkers(int count, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (Loader::LiveWorkers() > count && GetTickCount() - start < timeoutMs) Sleep(10);
  return Loader::LiveWorkers() <= count;
}

void Print(const char* when, const resource_counts::Counts& c) {
  std::printf("[ loader   ] %-6s GDI objects %lu, kernel handles %lu, heap bytes %lu\n", when,
              static_cast<unsigned long>(c.gdi), static_cast<unsigned long>(c.handles),
              static_cast<unsigned long>(c.heapBytes));
}

}  // namespace

TEST(Loader, CameraPhotosArriveFittedAndMatchALoadOnThisThread) {
  Receiver receiver;
  Loader loader(receiver.Handle(), Receiver::kMessage);
  for (const char* name : {"Landscape_2.jpg", "Landscape_5.jpg", "Portrait_4.jpg"}) {
    SCOPED_TRACE(name);
    LoadResult result = LoadOnWorker(receiver, loader, Request(name));
    ASSERT_EQ(result.error, 0) << result.message;
    const bool portrait = std::string(name).find("Portrait") == 0;
    EXPECT_EQ(result.orgWidth, portrait ? 1200 : 1800);
    EXPECT_EQ(result.orgHeight, portrait ? 1800 : 1200);
    EXPECT_EQ(result.picture.width, portrait ? 512 : 1024);
    EXPECT_EQ(result.picture.height, portrait ? 768 : 683);
    picture::DecodeOutcome here = picture::DecodeFile(Files() + name, false, nullptr);
    const Image reference = BoxReference(Pixels(here.picture), result.picture.width, result.picture.height);
    EXPECT_LE(MaxDifference(Pixels(result.picture), reference), 1);
  }
  EXPECT_FALSE(loader.Busy());
}

// 108 megapixels: more than a 32-bit process can hold as one bitmap beside
// its decode; the plug-in's reduced decode is fitted instead.
TEST(Loader, AHundredAndEightMegapixelPhotoArrivesFitted) {
  Receiver receiver;
  Loader loader(receiver.Handle(), Receiver::kMessage);
  const DWORD start = GetTickCount();
  LoadResult result = LoadOnWorker(receiver, loader, Request("huge.jpg"));
  std::printf("[ loader   ] 12000 x 9000 JPEG fitted in %lu ms\n", GetTickCount() - start);
  ASSERT_EQ(result.error, 0) << result.message;
  EXPECT_EQ(result.orgWidth, 12000);
  EXPECT_EQ(result.orgHeight, 9000);
  ASSERT_EQ(result.picture.width, 1024);
  ASSERT_EQ(result.picture.height, 768);
  EXPECT_LT(MeanDifference(Pixels(result.picture), ReadPpm(Files() + "huge_fit.ppm")), 3.0);
}

TEST(Loader, EveryExifOrientationComesOutUpright) {
  Receiver receiver;
  Loader loader(receiver.Handle(), Receiver::kMessage);
  for (int tag = 1; tag <= 8; ++tag) {
    SCOPED_TRACE(testing::Message() << "orientation " << tag);
    LoadResult result = LoadOnWorker(receiver, loader, Request("orient" + std::to_string(tag) + ".jpg", {150, 150}));
    ASSERT_EQ(result.error, 0) << result.message;
    ASSERT_EQ(result.picture.width, 150);
    ASSERT_EQ(result.picture.height, 100);
    const Image shown = Pixels(result.picture);
    // Quadrant centres: red, green / blue, yellow.
    const uint32_t expected[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
    const int xs[2] = {37, 112}, ys[2] = {25, 75};
    for (int q = 0; q < 4; ++q) {
      const uint32_t p = shown.At(xs[q % 2], ys[q / 2]);
      for (int s = 0; s < 24; s += 8)
        EXPECT_NEAR(Channel(p, s), Channel(expected[q], s), 12) << "quadrant " << q;
    }
  }
}

TEST(Loader, FailuresAreReportedWithoutAPicture) {
  Receiver receiver;
  Loader loader(receiver.Handle(), Receiver::kMessage);
  struct Case { const char* file; int error; };
  // A broken JPEG (the plug-in's code), a missing bitmap (raised by our
  // reader), an extension nobody reads.
  for (const Case& c : {Case{"broken.jpg", -99}, Case{"missing.bmp", picture::kLoadRaised},
                        Case{"notes.txt", picture::kUnsupportedExtension}}) {
    SCOPED_TRACE(c.file);
    LoadResult result = LoadOnWorker(receiver, loader, Request(c.file));
    EXPECT_NE(result.error, 0);
    if (c.error != -99) {
      EXPECT_EQ(result.error, c.error);
    }
    EXPECT_FALSE(result.picture.bitmap);
    EXPECT_FALSE(result.message.empty());
  }
}

TEST(Loader, ACancelledOrOvertakenLoadDeliversNothing) {
  Receiver receiver;
  Loader loader(receiver.Handle(), Receiver::kMessage);
  const unsigned cancelled = loader.Start(Request("big.jpg"));
  loader.Cancel();  // before, during or after the decode: the result is never handed out
  while (loader.Busy()) Sleep(10);
  EXPECT_FALSE(loader.Take(cancelled).has_value());

  const unsigned first = loader.Start(Request("big.jpg"));
  const unsigned second = loader.Start(Request("Landscape_2.jpg"));
  unsigned got = 0;
  ASSERT_TRUE(receiver.Wait(kWait, &got));
  EXPECT_EQ(got, second);
  EXPECT_FALSE(loader.Take(first).has_value());
  std::optional<LoadResult> result = loader.Take(second);
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->picture.width, 1024);
  EXPECT_FALSE(loader.Take(second).has_value()) << "a result is taken once";
  EXPECT_FALSE(receiver.Wait(3000, nullptr)) << "the overtaken load posts nothing";
}

TEST(Loader, ACancelledDecodeAsksThePluginToStop) {
  int asked = 0;
  const LoadResult result = picture::LoadPictureFile(Request("big.jpg"), nullptr, [&] {
    ++asked;
    return true;
  });
  EXPECT_EQ(result.error, picture::kLoadCancelled);
  EXPECT_FALSE(result.picture.bitmap);
  EXPECT_GT(asked, 0) << "the plug-in's progress reports reach the cancel check";
  // Not cancelled: the same file loads whole.
  const LoadResult whole = picture::LoadPictureFile(Request("big.jpg"), nullptr, [] { return false; });
  EXPECT_EQ(whole.error, 0);
  EXPECT_TRUE(whole.picture.bitmap);
}

TEST(Loader, ClosingWithALoadInFlightReturnsAtOnceAndTheWorkerCleansUp) {
  // Mapping a MinGW-built plug-in afresh costs a handle that unmapping does
  // not return (the plug-ins' own matter); each new worker would map it once.
  // Kept mapped here, so that what is counted is the loader's own doing.
  forms::ModuleHandle jpeg(LoadLibraryA("ifjpeg.spi"));
  ASSERT_TRUE(jpeg);
  const int workersBefore = Loader::LiveWorkers();
  {
    Receiver warmup;
    Loader loader(warmup.Handle(), Receiver::kMessage);
    const DWORD start = GetTickCount();
    LoadOnWorker(warmup, loader, Request("big.jpg", {0, 0}));
    std::printf("[ loader   ] 6000 x 4000 JPEG decoded whole in %lu ms\n", GetTickCount() - start);
  }
  // Each worker makes its bitmaps compatible with the screen, through
  // GetDC(NULL). Wine's cache of such DCs grows to the most held at once
  // (a DC, its surface and two regions each) and keeps them; held side by
  // side here first, so that workers overlapping below do not count as a leak.
  {
    forms::WindowDc screens[4] = {forms::WindowDc(nullptr), forms::WindowDc(nullptr), forms::WindowDc(nullptr),
                                  forms::WindowDc(nullptr)};
  }
  ASSERT_TRUE(WaitForWorkers(workersBefore, 10000));
  const resource_counts::Counts before = resource_counts::Now();
  Print("before", before);
  DWORD closeTook = 0;
  for (int round = 0; round < 3; ++round) {
    auto receiver = std::make_unique<Receiver>();
    auto loader = std::make_unique<Loader>(receiver->Handle(), Receiver::kMessage);
    // The whole 6000 x 4000 picture (no fitting, so no reduced decode): seconds of work.
    loader->Start(Request(round == 2 ? "Landscape_5.jpg" : "big.jpg", round == 2 ? SIZE{1024, 768} : SIZE{0, 0}));
    Sleep(round * 200);
    const DWORD start = GetTickCount();
    loader.reset();
    receiver.reset();  // the window is gone while the worker still decodes
    closeTook = std::max(closeTook, GetTickCount() - start);
  }
  std::printf("[ loader   ] closing with a load in flight took at most %lu ms\n", closeTook);
  // Far below the decode's own time: the worker is left to finish alone.
  EXPECT_LT(closeTook, 500u) << "closing never waits for a decode";
  ASSERT_TRUE(WaitForWorkers(workersBefore, 60000)) << "abandoned workers end";
  // The system tidies a thread's own objects after its function returns.
  resource_counts::Counts after = resource_counts::Now();
  for (int i = 0; i < 30 && after.gdi > before.gdi; ++i, Sleep(100)) after = resource_counts::Now();
  Print("after", after);
  EXPECT_LE(after.gdi, before.gdi + 1);
  EXPECT_LE(after.handles, before.handles + 2);
}

TEST(Loader, TwoHundredLoadsOfEveryKindLeaveNothingBehind) {
  Receiver receiver;
  Loader loader(receiver.Handle(), Receiver::kMessage);
  const char* files[] = {"Landscape_2.jpg", "testorig.jpg", "broken.jpg", "shira_bird8.bmp",
                         "orient6.jpg", "missing.bmp", "Portrait_4.jpg"};
  for (const char* f : files) LoadOnWorker(receiver, loader, Request(f));
  const resource_counts::Counts before = resource_counts::Now();
  Print("before", before);
  int failures = 0, cancels = 0;
  for (int i = 0; i < 200; ++i) {
    const char* file = files[i % 7];
    if (i % 10 == 9) {  // now and then one cancelled and one dropped untaken
      loader.Start(Request(file));
      loader.Cancel();
      ++cancels;
      continue;
    }
    LoadResult result = LoadOnWorker(receiver, loader, Request(file, i % 2 ? SIZE{640, 480} : SIZE{0, 0}));
    failures += result.error != 0;
  }
  while (loader.Busy()) Sleep(10);
  const resource_counts::Counts after = resource_counts::Now();
  Print("after", after);
  std::printf("[ loader   ] 200 loads, %d failed, %d cancelled\n", failures, cancels);
  EXPECT_LE(after.gdi, before.gdi + 2);
  EXPECT_LE(after.handles, before.handles + 2);
  EXPECT_LT(after.heapBytes, before.heapBytes + 512 * 1024);
}
