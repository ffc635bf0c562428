// Bitmaps, icons and metafiles read by the program itself: the pixels shown
// are the file's, and damaged files are refused with Error 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "PictureTestSupport.h"
#include "forms/Gdi.h"

using namespace picture_test;

namespace {

void Put16(std::vector<BYTE>& v, size_t at, unsigned value) {
  v[at] = static_cast<BYTE>(value);
  v[at + 1] = static_cast<BYTE>(value >> 8);
}
void Put32(std::vector<BYTE>& v, size_t at, unsigned value) {
  Put16(v, at, value & 0xFFFF);
  Put16(v, at + 2, value >> 16);
}

// A bitmap file with a 40-byte header, a colour table and the given rows.
std::vector<BYTE> BitmapFile(int width, int height, int bitCount, unsigned compression,
                             const std::vector<RGBQUAD>& colors, const std::vector<BYTE>& bits) {
  const size_t offBits = 14 + 40 + colors.size() * 4;
  std::vector<BYTE> file(offBits);
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 2, static_cast<unsigned>(offBits + bits.size()));
  Put32(file, 10, static_cast<unsigned>(offBits));
  Put32(file, 14, 40);
  Put32(file, 18, static_cast<unsigned>(width));
  Put32(file, 22, static_cast<unsigned>(height));
  Put16(file, 26, 1);
  Put16(file, 28, static_cast<unsigned>(bitCount));
  Put32(file, 30, compression);
  Put32(file, 34, static_cast<unsigned>(bits.size()));
  Put32(file, 46, static_cast<unsigned>(colors.size()));
  if (!colors.empty()) std::memcpy(&file[54], colors.data(), colors.size() * 4);
  file.insert(file.end(), bits.begin(), bits.end());
  return file;
}

// The bytes of an enhanced metafile that GDI records: a 10 mm frame and one rectangle.
std::vector<BYTE> SmallEnhancedMetafile() {
  const RECT frame = {0, 0, 1000, 1000};
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
  Rectangle(dc, 1, 1, 20, 20);
  HENHMETAFILE emf = CloseEnhMetaFile(dc);
  std::vector<BYTE> v(GetEnhMetaFileBits(emf, 0, nullptr));
  GetEnhMetaFileBits(emf, static_cast<UINT>(v.size()), v.data());
  DeleteEnhMetaFile(emf);
  return v;
}

Image Load(TAll& p, const std::string& name) {
  p.SetPictureName(name);
  EXPECT_EQ(p.Error(), 0) << name;
  return Shown(p);
}

class NativeFormats : public ::testing::Test {};

}  // namespace

TEST_F(NativeFormats, BitmapsOfEveryDepthShowTheFilesPixels) {
  const struct {
    const char* bmp;
    const char* truth;
    int tolerance;
  } rows[] = {
      {"b1.bmp", "c2.ppm", 0},        {"b4.bmp", "c16.ppm", 0},     {"b8.bmp", "c200.ppm", 0},
      {"b8rle.bmp", "c200.ppm", 0},   {"b24.bmp", "full.ppm", 0},   {"b32.bmp", "full.ppm", 0},
      {"b16.bmp", "full.ppm", 8},     {"core4.bmp", "c16.ppm", 0},  {"core8.bmp", "c200.ppm", 0},
      {"shira_bird8.bmp", "shira_bird8.ppm", 0},
  };
  for (const auto& row : rows) {
    TAll_nmsg p;
    const Image truth = ReadPpm(Fixtures() + row.truth);
    ASSERT_GT(truth.width, 0) << row.truth;
    EXPECT_EQ(FirstDifference(Load(p, Fixtures() + row.bmp), truth, row.tolerance), "") << row.bmp;
    EXPECT_EQ(p.Width(), truth.width);
    EXPECT_EQ(p.Height(), truth.height);
  }
}

TEST_F(NativeFormats, PalettedBitmapsCarryTheirPalette) {
  TAll_nmsg p;
  p.SetPictureName(Fixtures() + "b4.bmp");
  EXPECT_EQ(PaletteEntries(p.Palette()), 16);
  p.SetPictureName(Fixtures() + "b8.bmp");
  EXPECT_EQ(PaletteEntries(p.Palette()), 256);
  p.SetPictureName(Fixtures() + "b24.bmp");
  EXPECT_EQ(p.Palette(), nullptr);
}

TEST_F(NativeFormats, TopDownAndRunLength4BitmapsAreReadTheRightWayUp) {
  const Image truth = ReadPpm(Fixtures() + "full.ppm");
  const int stride = (truth.width * 3 + 3) & ~3;
  std::vector<BYTE> rows(stride * truth.height);
  for (int y = 0; y < truth.height; ++y)  // top row first
    for (int x = 0; x < truth.width; ++x) {
      const COLORREF c = truth.At(x, y);
      BYTE* p = &rows[y * stride + x * 3];
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  WriteFile(Scratch() + "topdown.bmp", BitmapFile(truth.width, -truth.height, 24, BI_RGB, {}, rows));
  TAll_nmsg p;
  EXPECT_EQ(FirstDifference(Load(p, Scratch() + "topdown.bmp"), truth), "");

  // 6 x 3, bottom row first: a run, a literal run, a delta and end of line.
  const std::vector<RGBQUAD> colors = {{0, 0, 0, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
  const std::vector<BYTE> rle = {
      6, 0x12,                 // row 0: 1 2 1 2 1 2
      0, 0,                    // end of line
      0, 5, 0x33, 0x21, 0x10, 0, // row 1: literal 3 3 2 1 1 (padded to a word)
      0, 0,                    // end of line
      0, 2, 2, 0,              // row 2: skip two pixels (they stay 0)
      4, 0x30,                 // 3 0 3 0
      0, 1};                   // end of bitmap
  WriteFile(Scratch() + "rle4.bmp", BitmapFile(6, 3, 4, BI_RLE4, colors, rle));
  const COLORREF k = RGB(0, 0, 0), r = RGB(255, 0, 0), g = RGB(0, 255, 0), b = RGB(0, 0, 255);
  Image expected;
  expected.width = 6;
  expected.height = 3;
  expected.pixels = {k, k, b, k, b, k,   // top row = row 2
                     b, b, g, r, r, k,   // row 1; the sixth pixel was never written
                     r, g, r, g, r, g};  // row 0
  EXPECT_EQ(FirstDifference(Load(p, Scratch() + "rle4.bmp"), expected), "");
}

TEST_F(NativeFormats, FileNamesInAnyCaseAndWithShiftJisLoad) {
  TAll_nmsg p;
  p.SetPictureName(Fixtures() + "b24.bmp");
  const Image lower = Shown(p);
  p.SetPictureName(Fixtures() + "B24.BMP");
  EXPECT_EQ(p.Error(), 0);
  EXPECT_EQ(FirstDifference(Shown(p), lower), "");

  // 表 = 0x95 0x5C: the trail byte is the code of "\".
  const std::string name = Scratch() + "表.bmp";
  ASSERT_EQ(name.substr(name.size() - 6, 2), "\x95\x5C");
  ASSERT_TRUE(CopyFileA((Fixtures() + "b24.bmp").c_str(), name.c_str(), FALSE));
  p.SetPictureName(name);
  EXPECT_EQ(p.Error(), 0);
  EXPECT_EQ(p.PictureName(), name);
  EXPECT_EQ(FirstDifference(Shown(p), lower), "");
}

TEST_F(NativeFormats, WritingTheSameNameLoadsTheFileAgain) {
  const std::string name = Scratch() + "again.bmp";
  CopyFileA((Fixtures() + "b24.bmp").c_str(), name.c_str(), FALSE);
  TAll_nmsg p;
  p.SetPictureName(name);
  ASSERT_EQ(p.Width(), 37);
  CopyFileA((Fixtures() + "shira_bird8.bmp").c_str(), name.c_str(), FALSE);
  p.SetPictureName(name);
  EXPECT_EQ(p.Error(), 0);
  EXPECT_EQ(p.Width(), 192);
  EXPECT_EQ(FirstDifference(Shown(p), ReadPpm(Fixtures() + "shira_bird8.ppm")), "");
}

TEST_F(NativeFormats, SizeFollowsThePictureOnlyWithAutoSize) {
  TAll_nmsg p;
  p.SetSize(300, 200);
  p.AutoSize = false;
  p.SetPictureName(Fixtures() + "b24.bmp");
  EXPECT_EQ(p.Width(), 300);
  EXPECT_EQ(Shown(p).width, 37);
  p.AutoSize = true;
  p.SetPictureName("");
  EXPECT_TRUE(p.Empty());
  // Asking for the canvas of an empty picture puts a blank one of the control's size in.
  EXPECT_NE(p.Canvas(), nullptr);
  EXPECT_FALSE(p.Empty());
  const Image blank = Shown(p);
  EXPECT_EQ(blank.width, 300);
  EXPECT_EQ(blank.height, 200);
}

TEST_F(NativeFormats, PaintDrawsThePictureAtItsOwnSizeWhereAsked) {
  TAll_nmsg p;
  p.SetPictureName(Fixtures() + "b24.bmp");
  const Image truth = ReadPpm(Fixtures() + "full.ppm");
  BITMAPINFO bi = {};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 60, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  forms::BitmapHandle target(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  forms::MemoryDc dc(CreateCompatibleDC(nullptr));
  {
    forms::Selection select(dc.get(), target.get());
    PatBlt(dc.get(), 0, 0, 60, 40, WHITENESS);
    p.Paint(dc.get(), 5, 7);
  }
  GdiFlush();
  const DWORD* px = static_cast<const DWORD*>(bits);
  auto at = [&](int x, int y) {
    const DWORD v = px[y * 60 + x];
    return RGB(v >> 16 & 255, v >> 8 & 255, v & 255);
  };
  EXPECT_EQ(at(5, 7), truth.At(0, 0));
  EXPECT_EQ(at(5 + 36, 7 + 20), truth.At(36, 20));
  EXPECT_EQ(at(4, 7), RGB(255, 255, 255));
  EXPECT_EQ(at(5 + 37, 7), RGB(255, 255, 255));
  EXPECT_EQ(at(5, 7 + 21), RGB(255, 255, 255));
}

TEST_F(NativeFormats, IconsShowTheirLargestImageOverBlack) {
  TAll_nmsg p;
  EXPECT_EQ(FirstDifference(Load(p, Fixtures() + "icon.ico"), ReadPpm(Fixtures() + "icon32.ppm")), "");
  EXPECT_EQ(p.Width(), 32);

  Image expected = ReadPpm(Fixtures() + "icon24.ppm");
  for (int y = 0; y < expected.height; ++y)
    for (int x = 0; x < 8; ++x) expected.pixels[y * expected.width + x] = RGB(0, 0, 0);
  EXPECT_EQ(FirstDifference(Load(p, Fixtures() + "clear.ico"), expected), "");
}

TEST_F(NativeFormats, MetafilesArePlayedAtTheirOwnSize) {
  auto draw = [](HDC dc) {
    forms::BrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
    RECT box = {20, 10, 120, 60};
    FillRect(dc, &box, red.get());
  };
  // Plain Windows metafile: the window extent it sets is its size.
  HDC dc = CreateMetaFileA((Scratch() + "plain.wmf").c_str());
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetWindowExtEx(dc, 200, 100, nullptr);
  draw(dc);
  DeleteMetaFile(CloseMetaFile(dc));

  // Placeable: the same records behind the 22-byte header (bounding box
  // 0,0-3000,1500 at 1440 units per inch: 200 x 100 pixels at 96 dpi).
  HANDLE f = CreateFileA((Scratch() + "plain.wmf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  std::vector<BYTE> records(GetFileSize(f, nullptr));
  DWORD got = 0;
  ReadFile(f, records.data(), static_cast<DWORD>(records.size()), &got, nullptr);
  CloseHandle(f);
  std::vector<BYTE> placeable(22 + records.size());
  Put32(placeable, 0, 0x9AC6CDD7);
  Put16(placeable, 10, 3000);
  Put16(placeable, 12, 1500);
  Put16(placeable, 14, 1440);
  unsigned sum = 0;
  for (int i = 0; i < 10; ++i) sum ^= placeable[2 * i] | placeable[2 * i + 1] << 8;
  Put16(placeable, 20, sum);
  std::copy(records.begin(), records.end(), placeable.begin() + 22);
  WriteFile(Scratch() + "placeable.wmf", placeable);

  // Enhanced: frame 3175 x 2117 hundredths of a millimetre, 120 x 80 pixels at 96 dpi.
  const RECT frame = {0, 0, 3175, 2117};
  dc = CreateEnhMetaFileA(nullptr, (Scratch() + "drawing.emf").c_str(), &frame, nullptr);
  draw(dc);
  DeleteEnhMetaFile(CloseEnhMetaFile(dc));

  const struct {
    const char* file;
    int width, height;
  } rows[] = {{"plain.wmf", 200, 100}, {"placeable.wmf", 200, 100}, {"drawing.emf", 120, 80}};
  for (const auto& row : rows) {
    TAll_nmsg p;
    const Image shown = Load(p, Scratch() + row.file);
    ASSERT_EQ(shown.width, row.width) << row.file;
    ASSERT_EQ(shown.height, row.height) << row.file;
    if (row.width == 200) {
      EXPECT_EQ(shown.At(70, 35), RGB(255, 0, 0)) << row.file;
      EXPECT_EQ(shown.At(5, 5), RGB(255, 255, 255)) << row.file << ": white paper";
      EXPECT_EQ(shown.At(150, 80), RGB(255, 255, 255)) << row.file;
    } else {
      EXPECT_EQ(shown.At(70, 35), RGB(255, 0, 0)) << row.file;
      EXPECT_EQ(shown.At(5, 70), RGB(255, 255, 255)) << row.file;
    }
  }
}

TEST_F(NativeFormats, DamagedFilesGiveUnknownFormatNeverACrash) {
  const std::vector<BYTE> good = [] {
    HANDLE f = CreateFileA((Fixtures() + "b8.bmp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    std::vector<BYTE> v(GetFileSize(f, nullptr));
    DWORD got = 0;
    ReadFile(f, v.data(), static_cast<DWORD>(v.size()), &got, nullptr);
    CloseHandle(f);
    return v;
  }();
  std::vector<std::pair<std::string, std::vector<BYTE>>> cases;
  auto variant = [&](const char* name, size_t at, unsigned value, int bytes) {
    std::vector<BYTE> v = good;
    if (bytes == 2) Put16(v, at, value); else Put32(v, at, value);
    cases.push_back({std::string(name) + ".bmp", v});
  };
  cases.push_back({"empty.bmp", {}});
  cases.push_back({"cut.bmp", std::vector<BYTE>(good.begin(), good.begin() + good.size() / 2)});
  cases.push_back({"header-only.bmp", std::vector<BYTE>(good.begin(), good.begin() + 30)});
  variant("magic", 0, 0x4D42 ^ 0x0101, 2);
  variant("offbits", 10, 0x7FFFFFF0, 4);
  variant("headersize", 14, 0x33, 4);
  variant("width", 18, 0x7FFFFFFF, 4);
  variant("height", 22, 0x80000000, 4);
  variant("zero-width", 18, 0, 4);
  variant("bitcount", 28, 7, 2);
  variant("compression", 30, 4 /* BI_JPEG */, 4);
  variant("colours", 46, 0x7FFFFFFF, 4);
  cases.push_back({"junk.ico", {0, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 32, 0, 0xFF, 0xFF, 0, 0, 22, 0, 0, 0}});
  cases.push_back({"nodir.ico", {0, 0, 1, 0, 0x40, 0}});
  cases.push_back({"junk.wmf", {1, 0, 9, 0, 0, 3, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}});
  cases.push_back({"noext.wmf", {1, 0, 9, 0, 0, 3, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0}});
  cases.push_back({"junk.emf", std::vector<BYTE>(100, 0x41)});
  {
    // A real enhanced metafile whose first record after the header claims to run past the end.
    std::vector<BYTE> v = SmallEnhancedMetafile();
    const unsigned headerSize = v[4] | v[5] << 8;
    Put32(v, headerSize + 4, 0x10000);
    cases.push_back({"record.emf", v});
  }
  for (const auto& c : cases) {
    WriteFile(Scratch() + c.first, c.second);
    TAll_nmsg p;
    p.SetPictureName(Scratch() + c.first);
    EXPECT_EQ(p.Error(), 2) << c.first;
    EXPECT_TRUE(p.Empty()) << c.first;
    EXPECT_EQ(p.PictureName(), "") << c.first;
  }
}

// Files whose numbers overflow or point past the end: each is shown as it
// should be or refused, never read outside its bytes.
TEST_F(NativeFormats, EnhancedMetafileWithFrameCornersFarApartUsesItsBounds) {
  std::vector<BYTE> v = SmallEnhancedMetafile();
  // Bounds 0,0 - 99,49; frame corners 2^31 - 1001 .. -2^31 on both axes: an
  // inverted frame whose width, taken in 32 bits, wraps round to 1001.
  Put32(v, 8, 0);
  Put32(v, 12, 0);
  Put32(v, 16, 99);
  Put32(v, 20, 49);
  Put32(v, 24, 0x7FFFFFFFu - 1000);
  Put32(v, 28, 0x7FFFFFFFu - 1000);
  Put32(v, 32, 0x80000000u);
  Put32(v, 36, 0x80000000u);
  WriteFile(Scratch() + "farframe.emf", v);
  TAll_nmsg p;
  const Image shown = Load(p, Scratch() + "farframe.emf");
  EXPECT_EQ(shown.width, 100);
  EXPECT_EQ(shown.height, 50);
}

TEST_F(NativeFormats, IconEntriesPointingAtOrPastTheEndAreRefused) {
  // One directory entry of a 16 x 16 image: 0 bytes at the very end of the
  // file, and 32 bytes at an offset whose sum with the size wraps in 32 bits.
  std::vector<BYTE> atEnd = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 22, 0, 0, 0};
  std::vector<BYTE> wraps = atEnd;
  Put32(wraps, 14, 32);
  Put32(wraps, 18, 0xFFFFFFF0u);
  wraps.resize(22 + 32, 0);
  for (const auto& c : {std::make_pair("at-end.ico", atEnd), std::make_pair("wraps.ico", wraps)}) {
    WriteFile(Scratch() + c.first, c.second);
    TAll_nmsg p;
    p.SetPictureName(Scratch() + c.first);
    EXPECT_EQ(p.Error(), 2) << c.first;
    EXPECT_TRUE(p.Empty()) << c.first;
  }
}

TEST_F(NativeFormats, RunLengthRunsPastTheRightEdgeAreDropped) {
  // 2 x 2: the bottom row gets 100,000 runs of 255 red pixels (all but two
  // beyond the edge), then one green pixel starts the top row.
  const std::vector<RGBQUAD> colors = {{0, 0, 0, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}};
  std::vector<BYTE> rle;
  for (int i = 0; i < 100000; ++i) rle.insert(rle.end(), {255, 1});
  rle.insert(rle.end(), {0, 0, 1, 2, 0, 1});
  WriteFile(Scratch() + "longruns.bmp", BitmapFile(2, 2, 8, BI_RLE8, colors, rle));
  Image expected;
  expected.width = expected.height = 2;
  expected.pixels = {RGB(0, 255, 0), RGB(0, 0, 0), RGB(255, 0, 0), RGB(255, 0, 0)};
  TAll_nmsg p;
  EXPECT_EQ(FirstDifference(Load(p, Scratch() + "longruns.bmp"), expected), "");
}
