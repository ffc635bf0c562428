// Ten thousand loads, successes and failures of every route, must leave the
// process's GDI objects, kernel handles and memory where they were.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "PictureTestSupport.h"
#include "support/resource_counts.h"

using namespace picture_test;

namespace {

using resource_counts::Counts;
using resource_counts::Now;

void Print(const char* when, const Counts& c) {
  std::printf("[ leak     ] %-6s GDI objects %lu, kernel handles %lu, heap bytes in use %lu\n", when,
              static_cast<unsigned long>(c.gdi), static_cast<unsigned long>(c.handles),
              static_cast<unsigned long>(c.heapBytes));
}

}  // namespace

TEST(Leak, TenThousandLoadsLeaveNothingBehind) {
  struct Step {
    const char* control;
    std::string name;
  };
  const std::string f = Fixtures();
  WriteFile(Scratch() + "broken.bmp", {'B', 'M', 0, 0});
  const Step steps[] = {
      {"", f + "b8.bmp"},
      {"", f + "icon.ico"},
      {"w=64 h=48 bpp=8", "x.gif"},
      {"w=101 h=75", "x.jpg"},
      {"picture=3", "x.gif"},
      {"", "x.mag"},
      {"w=40 h=20 xd=1 yd=2", "x.pic"},
      {"", Scratch() + "broken.bmp"},
      {"info=2,4", "x.jpg"},
      {"", "x.jpeg2"},
      {"", f + "b24.bmp"},
      {"w=30 h=30 short=1", "x.q4"},
      {"", Scratch() + "plain.wmf"},
  };
  // A metafile of our own, so that this test does not depend on another's files.
  HDC dc = CreateMetaFileA((Scratch() + "plain.wmf").c_str());
  SetWindowExtEx(dc, 64, 32, nullptr);
  Rectangle(dc, 2, 2, 30, 30);
  DeleteMetaFile(CloseMetaFile(dc));

  TAll_nmsg p;
  // One round first, so that lasting one-time allocations (the C runtime,
  // GDI's stock objects, Wine's caches) are made before counting.
  for (const Step& s : steps) {
    StandIn(s.control);
    p.SetPictureName(s.name);
  }
  p.SetPictureName("");
  const Counts before = Now();
  Print("before", before);
  const int kLoads = 10000;
  int failures = 0;
  for (int i = 0; i < kLoads; ++i) {
    const Step& s = steps[i % (sizeof steps / sizeof steps[0])];
    StandIn(s.control);
    p.SetPreView(i % 3 == 0);
    p.SetPictureName(s.name);
    failures += p.Error() != 0;
  }
  p.SetPictureName("");
  const Counts after = Now();
  Print("after", after);
  std::printf("[ leak     ] %d loads, %d failed\n", kLoads, failures);
  EXPECT_GT(failures, 0);
  EXPECT_LT(failures, kLoads);
  EXPECT_LE(after.gdi, before.gdi + 2);
  EXPECT_LE(after.handles, before.handles + 2);
  EXPECT_LT(after.heapBytes, before.heapBytes + 256 * 1024)
      << "every load hands over blocks of several kilobytes: a leak shows here";
}
