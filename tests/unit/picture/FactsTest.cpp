// What a caption says of a file: its name as the file system spells it and
// the date taken, from real camera JPEGs, a TIFF and a PNG with EXIF written
// into them here or from a plug-in's text information, and the file time
// for a date that is missing or broken.
// (Hostile headers at large: the fuzz target fuzz_exif.)
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "picture/PictureFacts.h"
#include "picture/PluginText.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A picture of tests/data/real, reached through Wine's drive of the whole file system.
Bytes RealFile(const char* name) {
  std::ifstream in(std::string("Z:") + GLIMORA_REAL_DATA + name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void Put(Bytes& b, uint32_t v, int size, bool little) {
  for (int k = 0; k < size; ++k) b.push_back(uint8_t(v >> 8 * (little ? k : size - 1 - k)));
}

// A TIFF structure as cameras write it: IFD0 pointing at an Exif IFD,
// `gap` bytes on, holding DateTimeOriginal. Fields as {value, size}.
Bytes ExifTiff(const std::string& date, bool little = true, uint32_t gap = 0) {
  Bytes b = {uint8_t(little ? 'I' : 'M'), uint8_t(little ? 'I' : 'M')};
  const uint32_t exif = 26 + gap, count = static_cast<uint32_t>(date.size() + 1);
  for (auto [v, size] : {std::pair{42u, 2}, {8u, 4}, {1u, 2}, {0x8769u, 2}, {4u, 2}, {1u, 4}, {exif, 4}, {0u, 4}})
    Put(b, v, size, little);
  b.resize(b.size() + gap, 0x55);
  for (auto [v, size] : {std::pair{1u, 2}, {0x9003u, 2}, {2u, 2}, {count, 4}, {exif + 18, 4}, {0u, 4}})
    Put(b, v, size, little);
  b.insert(b.end(), date.begin(), date.end());
  b.push_back(0);
  return b;
}

// A real camera photo with an APP1 Exif segment in front of its own.
Bytes JpegWith(const Bytes& tiff) {
  Bytes real = RealFile("Landscape_2.jpg");
  const size_t length = 2 + 6 + tiff.size();
  Bytes out = {0xFF, 0xD8, 0xFF, 0xE1, uint8_t(length >> 8), uint8_t(length), 'E', 'x', 'i', 'f', 0, 0};
  out.insert(out.end(), tiff.begin(), tiff.end());
  out.insert(out.end(), real.begin() + 2, real.end());
  return out;
}

// A real PNG with an eXIf chunk after its image data, just before IEND.
Bytes PngWith(const Bytes& tiff) {
  Bytes png = RealFile("basn2c08.png"), chunk;
  Put(chunk, static_cast<uint32_t>(tiff.size()), 4, false);
  chunk.insert(chunk.end(), {'e', 'X', 'I', 'f'});
  chunk.insert(chunk.end(), tiff.begin(), tiff.end());
  Put(chunk, 0, 4, false);  // the check sum is not ours to judge
  png.insert(png.end() - 12, chunk.begin(), chunk.end());
  return png;
}

// Written into facts\, last written on 2001/02/03 04:05 local time.
std::wstring Write(const std::wstring& name, const Bytes& bytes) {
  CreateDirectoryA("facts", nullptr);
  const std::wstring path = L"facts\\" + name;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD done = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  SYSTEMTIME local = {2001, 2, 0, 3, 4, 5, 6, 0};
  FILETIME lt, utc;
  SystemTimeToFileTime(&local, &lt);
  LocalFileTimeToFileTime(&lt, &utc);
  SetFileTime(f, nullptr, nullptr, &utc);
  CloseHandle(f);
  return path;
}

std::string Stamp(const std::wstring& name, const Bytes& bytes, const std::string& pluginText = std::string()) {
  const picture::PictureFacts f = picture::ReadPictureFacts(Write(name, bytes), pluginText);
  char s[40];
  wsprintfA(s, "%04d/%02d/%02d %02d:%02d %s", f.taken.year, f.taken.month, f.taken.day, f.taken.hour,
            f.taken.minute, f.fromExif ? "exif" : "file");
  return s;
}

}  // namespace

TEST(Facts, DateTakenComesFromTheExifOfJpegTiffAndPngElseFromTheFileTime) {
  EXPECT_EQ(Stamp(L"a.jpg", JpegWith(ExifTiff("2019:07:14 10:30:12"))), "2019/07/14 10:30 exif");
  EXPECT_EQ(Stamp(L"b.jpg", JpegWith(ExifTiff("2020:02:29 23:59:59", false))), "2020/02/29 23:59 exif");
  // A TIFF is the structure itself; its Exif directory may lie far from the start.
  EXPECT_EQ(Stamp(L"c.tif", ExifTiff("1999:12:31 08:00:00", false, 300000)), "1999/12/31 08:00 exif");
  EXPECT_EQ(Stamp(L"d.png", PngWith(ExifTiff("2024:01:02 03:04:05"))), "2024/01/02 03:04 exif");
  // Real files: camera photos whose EXIF has no date, a TIFF and a PNG without EXIF, a bitmap.
  for (const char* real : {"Landscape_2.jpg", "Portrait_4.jpg", "rgb-3c-8b.tiff", "basn0g08.png", "shira_bird8.bmp"})
    EXPECT_EQ(Stamp(std::wstring(real, real + strlen(real)), RealFile(real)), "2001/02/03 04:05 file") << real;
  // Dates that name no moment, garbage, and EXIF cut off part way.
  for (const char* bad : {"0000:00:00 00:00:00", "    :  :     :  :  ", "2019:02:29 10:00:00", "2019:07:14 24:00:00",
                          "2019/07/14 10:30:00", "\xff\xfe garbage \x01\x02", "2019:07"})
    EXPECT_EQ(Stamp(L"bad.jpg", JpegWith(ExifTiff(bad))), "2001/02/03 04:05 file") << bad;
  const Bytes whole = ExifTiff("2019:07:14 10:30:12", true, 1000);
  for (size_t cut : {size_t(3), size_t(20), size_t(1030), whole.size() - 10})
    EXPECT_EQ(Stamp(L"cut.tif", Bytes(whole.begin(), whole.begin() + cut)), "2001/02/03 04:05 file") << cut;
}

TEST(Facts, TheNameIsSpeltAsTheFileSystemSpellsIt) {
  Write(L"Photo_Case.JPG", RealFile("testorig.jpg"));
  EXPECT_EQ(picture::ReadPictureFacts(L"facts\\photo_case.jpg").name, L"Photo_Case.JPG");
  // Japanese, a character the Japanese code page cannot hold, and 255 characters.
  for (const std::wstring& name : {std::wstring(L"\u5199\u771f_caf\u00e9.jpg"), std::wstring(251, L'n') + L".jpg"})
    EXPECT_EQ(picture::ReadPictureFacts(Write(name, RealFile("testorig.jpg"))).name, name);
  // A file that is gone keeps the name the list gives it, without a time.
  const picture::PictureFacts gone = picture::ReadPictureFacts(L"facts\\sub\\Gone.jpg");
  EXPECT_EQ(gone.name, L"Gone.jpg");
  EXPECT_FALSE(gone.hasTime);
}

// The text a plug-in hands over, as the host copies it out of the block and
// reads its date line; the file's own EXIF goes first.
TEST(Facts, APluginsDateLineStandsInForTheFileTimeAfterTheFilesOwnExif) {
  const Bytes bird = RealFile("shira_bird8.bmp");
  const auto text = [](const char* block, size_t size) { return picture::InfoTextOf(block, size); };
  EXPECT_EQ(Stamp(L"a.heic", bird, "DateTimeOriginal=2019:07:14 10:30:12"), "2019/07/14 10:30 exif");
  // After a Shift-JIS comment whose second bytes look like ASCII, LF or CR LF.
  EXPECT_EQ(Stamp(L"b.heic", bird, "\x95\\\x8e\x86\r\nDateTimeOriginal=2018:01:02 03:04\r\n"), "2018/01/02 03:04 exif");
  EXPECT_EQ(Stamp(L"c.jpg", JpegWith(ExifTiff("2020:02:29 23:59:59")), "DateTimeOriginal=2019:07:14 10:30:12"),
            "2020/02/29 23:59 exif");
  for (const char* bad : {"DateTimeOriginal=0000:00:00 00:00:00", "DateTimeOriginal=\xff\xfe garbage \x01\x02",
                          "DateTimeOriginal=2019:07:1", "DateTimeOriginal=", "comment DateTimeOriginal=2019:07:14 10:30",
                          "DateTimeOriginal 2019:07:14 10:30:12", "DateTimeOriginal=2019:07:14\r\n10:30:12", ""})
    EXPECT_EQ(Stamp(L"d.heic", bird, bad), "2001/02/03 04:05 file") << bad;
  // The block's size bounds the text, not a NUL that may be missing; a NUL ends it early.
  const char block[] = "DateTimeOriginal=2019:07:14 10:30:00";
  EXPECT_EQ(text(block, 33), "DateTimeOriginal=2019:07:14 10:30");
  EXPECT_EQ(Stamp(L"e.heic", bird, text(block, 33)), "2019/07/14 10:30 exif");
  EXPECT_EQ(Stamp(L"f.heic", bird, text(block, 30)), "2001/02/03 04:05 file");
  EXPECT_EQ(text("DateTimeOriginal=2019\0:07:14 10:30:00", 36), "DateTimeOriginal=2019");
  const std::string huge(picture::kMaxInfoText + 100, 'x');
  EXPECT_EQ(text(huge.data(), huge.size()).size(), picture::kMaxInfoText);
  EXPECT_EQ(text(nullptr, 10), "");
}
