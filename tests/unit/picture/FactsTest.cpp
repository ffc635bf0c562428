// What a caption says of a file: its name as the file system spells it and
// the date taken, from real camera JPEGs, TIFFs and PNGs with EXIF written
// into them here, and from files whose EXIF is missing, broken or hostile.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "picture/PictureFacts.h"

namespace {

using Bytes = std::vector<uint8_t>;
using picture::TakenTime;

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// A picture of tests/data/real, reached through Wine's drive of the whole file system.
Bytes RealFile(const char* name) {
  std::string path = std::string("Z:") + GLIMORA_REAL_DATA + name;
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

class Writer {
 public:
  explicit Writer(bool little) : little_(little) {}
  void U16(uint16_t v) { little_ ? Put({uint8_t(v), uint8_t(v >> 8)}) : Put({uint8_t(v >> 8), uint8_t(v)}); }
  void U32(uint32_t v) {
    little_ ? Put({uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)})
            : Put({uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
  }
  void Put(std::initializer_list<uint8_t> b) { bytes.insert(bytes.end(), b); }
  void Text(const std::string& s) { bytes.insert(bytes.end(), s.begin(), s.end()); }
  Bytes bytes;

 private:
  bool little_;
};

// A TIFF structure as cameras write it: IFD0 pointing at an Exif IFD that
// holds DateTimeOriginal, `gap` bytes further on.
Bytes ExifTiff(const std::string& date, bool little = true, uint32_t gap = 0) {
  Writer w(little);
  w.Text(little ? "II" : "MM");
  w.U16(42);
  w.U32(8);
  w.U16(1);  // IFD0: one entry, the Exif pointer
  w.U16(0x8769), w.U16(4), w.U32(1), w.U32(26 + gap);
  w.U32(0);
  w.bytes.resize(w.bytes.size() + gap, 0x55);
  w.U16(1);
  w.U16(0x9003), w.U16(2), w.U32(static_cast<uint32_t>(date.size() + 1)), w.U32(26 + gap + 18);
  w.U32(0);
  w.Text(date);
  w.Put({0});
  return w.bytes;
}

// The camera photo with an APP1 Exif segment in front of its own segments.
Bytes JpegWith(const Bytes& tiff) {
  Bytes real = RealFile("Landscape_2.jpg");
  const size_t length = 2 + 6 + tiff.size();
  Bytes out = {0xFF, 0xD8, 0xFF, 0xE1, uint8_t(length >> 8), uint8_t(length)};
  out.insert(out.end(), {'E', 'x', 'i', 'f', 0, 0});
  out.insert(out.end(), tiff.begin(), tiff.end());
  out.insert(out.end(), real.begin() + 2, real.end());
  return out;
}

// The PNG with an eXIf chunk just before IEND, after the image data.
Bytes PngWith(const Bytes& tiff) {
  Bytes png = RealFile("basn2c08.png");
  Writer chunk(false);
  chunk.U32(static_cast<uint32_t>(tiff.size()));
  chunk.Text("eXIf");
  chunk.bytes.insert(chunk.bytes.end(), tiff.begin(), tiff.end());
  chunk.U32(0);  // the check sum is not ours to judge
  png.insert(png.end() - 12, chunk.bytes.begin(), chunk.bytes.end());
  return png;
}

std::wstring Scratch(const std::wstring& name) {
  CreateDirectoryA("facts", nullptr);
  return L"facts\\" + name;
}

void Write(const std::wstring& path, const Bytes& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD done = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  // Last written on 2001/02/03 04:05, local time.
  SYSTEMTIME local = {2001, 2, 0, 3, 4, 5, 6, 0};
  FILETIME lt, utc;
  SystemTimeToFileTime(&local, &lt);
  LocalFileTimeToFileTime(&lt, &utc);
  SetFileTime(f, nullptr, nullptr, &utc);
  CloseHandle(f);
}

std::string Stamp(const picture::PictureFacts& f) {
  if (!f.hasTime) return "none";
  char s[40];
  wsprintfA(s, "%04d/%02d/%02d %02d:%02d%s", f.taken.year, f.taken.month, f.taken.day, f.taken.hour,
            f.taken.minute, f.fromExif ? " exif" : " file");
  return s;
}

std::string StampOf(const std::wstring& name, const Bytes& bytes) {
  Write(Scratch(name), bytes);
  return Stamp(picture::ReadPictureFacts(Scratch(name)));
}

}  // namespace

TEST(Facts, DateTakenComesFromTheExifOfJpegTiffAndPng) {
  EXPECT_EQ(StampOf(L"a.jpg", JpegWith(ExifTiff("2019:07:14 10:30:12"))), "2019/07/14 10:30 exif");
  EXPECT_EQ(StampOf(L"b.jpg", JpegWith(ExifTiff("2020:02:29 23:59:59", false))), "2020/02/29 23:59 exif");
  // A TIFF is the structure itself; its Exif directory may lie far from the start.
  EXPECT_EQ(StampOf(L"c.tif", ExifTiff("1999:12:31 08:00:00", false, 300000)), "1999/12/31 08:00 exif");
  EXPECT_EQ(StampOf(L"d.png", PngWith(ExifTiff("2024:01:02 03:04:05"))), "2024/01/02 03:04 exif");
}

TEST(Facts, FilesWithoutADateTakenShowTheirLastWrittenTime) {
  // Real files: a camera photo whose EXIF has no date, a TIFF and a PNG without EXIF, a bitmap.
  for (const char* real : {"Landscape_2.jpg", "Portrait_4.jpg", "rgb-3c-8b.tiff", "basn0g08.png", "shira_bird8.bmp"})
    EXPECT_EQ(StampOf(Wide(real), RealFile(real)), "2001/02/03 04:05 file") << real;
  // Dates that name no moment, garbage, and EXIF cut off part way.
  for (const char* bad : {"0000:00:00 00:00:00", "    :  :     :  :  ", "2019:02:29 10:00:00", "2019:13:01 10:00:00",
                          "2019:07:14 24:00:00", "2019/07/14 10:30:00", "\xff\xfe garbage \x01\x02", "2019:07"})
    EXPECT_EQ(StampOf(L"bad.jpg", JpegWith(ExifTiff(bad))), "2001/02/03 04:05 file") << bad;
  const Bytes whole = ExifTiff("2019:07:14 10:30:12", true, 1000);
  for (size_t cut : {size_t(3), size_t(9), size_t(20), size_t(1030), whole.size() - 10})
    EXPECT_EQ(StampOf(L"cut.tif", Bytes(whole.begin(), whole.begin() + cut)), "2001/02/03 04:05 file") << cut;
  EXPECT_EQ(StampOf(L"empty.jpg", {}), "2001/02/03 04:05 file");
}

TEST(Facts, TheNameIsSpeltAsTheFileSystemSpellsIt) {
  Write(Scratch(L"Photo_Case.JPG"), RealFile("testorig.jpg"));
  EXPECT_EQ(picture::ReadPictureFacts(Scratch(L"photo_case.jpg")).name, L"Photo_Case.JPG");
  // Japanese, a character the Japanese code page cannot hold, and 255 characters.
  const std::wstring japanese = L"\u5199\u771f_caf\u00e9.jpg";
  Write(Scratch(japanese), RealFile("testorig.jpg"));
  EXPECT_EQ(picture::ReadPictureFacts(Scratch(japanese)).name, japanese);
  const std::wstring longest = std::wstring(251, L'n') + L".jpg";
  Write(Scratch(longest), RealFile("testorig.jpg"));
  const picture::PictureFacts f = picture::ReadPictureFacts(Scratch(longest));
  EXPECT_EQ(f.name, longest);
  EXPECT_EQ(Stamp(f), "2001/02/03 04:05 file");
  // A file that is gone keeps the name the list gives it, without a time.
  const picture::PictureFacts gone = picture::ReadPictureFacts(L"facts\\sub\\Gone.jpg");
  EXPECT_EQ(gone.name, L"Gone.jpg");
  EXPECT_FALSE(gone.hasTime);
}

// Offsets, counts and lengths from the file are never trusted: random
// damage to the headers gives a date or none, and never reads out of bounds.
TEST(Facts, DamagedHeadersNeverFaultOrStall) {
  const Bytes jpeg = JpegWith(ExifTiff("2019:07:14 10:30:12", false));
  const Bytes png = PngWith(ExifTiff("2019:07:14 10:30:12"));
  std::mt19937 random(29);
  const DWORD start = GetTickCount();
  for (int k = 0; k < 20000; ++k) {
    Bytes b = k % 2 ? Bytes(jpeg.begin(), jpeg.begin() + 120) : Bytes(png.begin(), png.end());
    for (int n = 1 + random() % 4; n > 0; --n) b[random() % std::min<size_t>(b.size(), 120)] = uint8_t(random());
    TakenTime t;
    if (picture::ReadFileExifDate(picture::MemoryBytes(b.data(), b.size()), t)) {
      EXPECT_GE(t.month, 1);
      EXPECT_LE(t.month, 12);
    }
  }
  EXPECT_LT(GetTickCount() - start, 10000u);
}
