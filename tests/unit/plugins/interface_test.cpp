// What every plug-in owes a host, whatever the format: its texts, the two
// kinds of IsSupported, file input at an offset and memory input, the
// progress callback, and result codes (never a crash) for bad input.
#include <gtest/gtest.h>

#include <cstring>

#include "images.h"

namespace spitest {
namespace {

struct Dll {
  const char* file;
  const char* filter;
  const char* name;
  const char* sample;  // a picture this plug-in reads, or null
};

const Dll kDlls[] = {
    {"ifjpeg.spi", "*.jpg;*.jpe;*.jpeg", "JPEG", "baseline.jpg"},
    {"ifgif.spi", "*.gif", "GIF", "plain.gif"},
    {"iftiff.spi", "*.tif;*.tiff", "TIFF", "lzw.tif"},
    {"ifpng.spi", "*.png", "PNG", "plain.png"},
    {"ifpic.spi", "*.pic", "PIC", nullptr},
    {"ifpic2.spi", "*.p2", "PIC2", nullptr},
    {"ifmag.spi", "*.mag", "MAG", nullptr},
    {"ifxld4.spi", "*.q4", "XLD4", nullptr},
    {"ifpi.spi", "*.pi", "PI", nullptr},
};

// The four that decode through the imaging component, with pictures to feed.
const Dll* const kWicDlls[] = {&kDlls[0], &kDlls[1], &kDlls[2], &kDlls[3]};

TEST(PluginInterface, EveryDllLoadsWithItsTexts) {
  for (const Dll& d : kDlls) {
    SCOPED_TRACE(d.file);
    SpiDll dll(d.file);
    ASSERT_TRUE(dll.Loaded());
    ASSERT_NE(dll.GetPluginInfo, nullptr);
    ASSERT_NE(dll.IsSupported, nullptr);
    ASSERT_NE(dll.GetPictureInfo, nullptr);
    ASSERT_NE(dll.GetPicture, nullptr);
    ASSERT_NE(dll.GetPreview, nullptr);
    EXPECT_EQ(dll.Info(0), "00IN");
    EXPECT_NE(dll.Info(1).find(OfThisWidth(d.file)), std::string::npos) << dll.Info(1);
    EXPECT_EQ(dll.Info(2), d.filter);
    EXPECT_EQ(dll.Info(3), d.name);
    EXPECT_EQ(dll.Info(4), "");
    EXPECT_EQ(dll.Info(-1), "");
    // A short buffer gets as much as fits, zero-terminated.
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(dll.GetPluginInfo(0, small, 3), 2);
    EXPECT_STREQ(small, "00");
  }
}

TEST(PluginInterface, OnlyJpegHasAPreview) {
  for (const Dll& d : kDlls) {
    SCOPED_TRACE(d.file);
    SpiDll dll(d.file);
    HANDLE info = reinterpret_cast<HANDLE>(1), bits = reinterpret_cast<HANDLE>(1);
    const std::string name = DataFile(d.sample ? d.sample : "baseline.jpg");
    const int rc = dll.GetPreview(const_cast<LPSTR>(name.c_str()), 0, 0, &info, &bits, nullptr, 0);
    if (std::strcmp(d.file, "ifjpeg.spi") == 0) {
      EXPECT_EQ(rc, 0);
      GlobalFree(bits);
      GlobalFree(info);
    } else {
      EXPECT_EQ(rc, -1);
    }
  }
}

TEST(PluginInterface, IsSupportedReadsBufferOrHandle) {
  for (const Dll* d : kWicDlls) {
    SCOPED_TRACE(d->file);
    SpiDll dll(d->file);
    std::vector<uint8_t> head = ReadBytes(DataFile(d->sample));
    head.resize(spi::kHeadSize, 0);
    const std::string name = DataFile(d->sample);
    EXPECT_NE(dll.IsSupported(const_cast<LPSTR>(name.c_str()),
                              reinterpret_cast<ULONG_PTR>(head.data())), 0);

    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_NE(dll.IsSupported(const_cast<LPSTR>(name.c_str()), reinterpret_cast<ULONG_PTR>(file)), 0);
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 0u) << "position restored";
    CloseHandle(file);

    // Every other plug-in declines it.
    for (const Dll& other : kDlls) {
      if (&other == d) continue;
      SpiDll no(other.file);
      EXPECT_EQ(no.IsSupported(const_cast<LPSTR>(name.c_str()),
                               reinterpret_cast<ULONG_PTR>(head.data())), 0) << other.file;
    }
  }
  // A .jpg that is really text.
  SpiDll jpeg("ifjpeg.spi");
  std::vector<uint8_t> text = ReadBytes(DataFile("text.jpg"));
  text.resize(spi::kHeadSize, 0);
  EXPECT_EQ(jpeg.IsSupported(const_cast<LPSTR>("text.jpg"), reinterpret_cast<ULONG_PTR>(text.data())), 0);
}

TEST(PluginInterface, IsSupportedReadsFromTheHandlesPosition) {
  const std::vector<uint8_t> jpeg = ReadBytes(DataFile("baseline.jpg"));
  std::vector<uint8_t> prefixed(128, 'x');
  prefixed.insert(prefixed.end(), jpeg.begin(), jpeg.end());
  const std::string name = DataFile("prefixed_handle.jpg");
  WriteBytes(name, prefixed);
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  SpiDll dll("ifjpeg.spi");
  EXPECT_EQ(dll.IsSupported(const_cast<LPSTR>(name.c_str()), reinterpret_cast<ULONG_PTR>(file)), 0);
  SetFilePointer(file, 128, nullptr, FILE_BEGIN);
  EXPECT_NE(dll.IsSupported(const_cast<LPSTR>(name.c_str()), reinterpret_cast<ULONG_PTR>(file)), 0);
  CloseHandle(file);
}

TEST(PluginInterface, MemoryAndOffsetInputGiveTheSamePicture) {
  for (const Dll* d : kWicDlls) {
    SCOPED_TRACE(d->file);
    SpiDll dll(d->file);
    const Picture fromFile = DecodeFile(dll, DataFile(d->sample));
    ASSERT_EQ(fromFile.rc, 0);

    const std::vector<uint8_t> bytes = ReadBytes(DataFile(d->sample));
    const Picture fromMemory = DecodeMemory(dll, bytes);
    ASSERT_EQ(fromMemory.rc, 0);
    EXPECT_EQ(fromMemory.rgb, fromFile.rgb);

    // A 128-byte prefix, as some files carry: unknown at 0, the picture at 128.
    std::vector<uint8_t> prefixed(128, 0);
    std::memcpy(prefixed.data(), "Glimora test prefix", 19);
    prefixed.insert(prefixed.end(), bytes.begin(), bytes.end());
    const std::string name = DataFile(std::string("prefixed_") + d->sample);
    WriteBytes(name, prefixed);
    spi::PictureInfo info;
    EXPECT_EQ(InfoOf(dll, name.c_str(), 0, 0, info), 2);
    EXPECT_EQ(DecodeFile(dll, name, 0).rc, 2);
    EXPECT_EQ(InfoOf(dll, name.c_str(), 128, 0, info), 0);
    EXPECT_EQ(info.width, fromFile.width);
    const Picture atOffset = DecodeFile(dll, name, 128);
    ASSERT_EQ(atOffset.rc, 0);
    EXPECT_EQ(atOffset.rgb, fromFile.rgb);
  }
}

TEST(PluginInterface, FileProblemsGiveResultCodes) {
  for (const Dll& d : kDlls) {
    SCOPED_TRACE(d.file);
    SpiDll dll(d.file);
    spi::PictureInfo info;
    const std::string missing = DataFile("no such file.jpg");
    EXPECT_EQ(InfoOf(dll, missing.c_str(), 0, 0, info), 6);
    EXPECT_EQ(DecodeFile(dll, missing).rc, 6);

    const std::string empty = DataFile("empty.bin");
    WriteBytes(empty, {});
    EXPECT_EQ(InfoOf(dll, empty.c_str(), 0, 0, info), 2);
    EXPECT_EQ(DecodeFile(dll, empty).rc, 2);
    EXPECT_EQ(DecodeFile(dll, empty, 128).rc, 6) << "offset past the end";

    const std::string text = DataFile("text.jpg");
    EXPECT_EQ(InfoOf(dll, text.c_str(), 0, 0, info), 2);
    EXPECT_EQ(DecodeFile(dll, text).rc, 2);
    EXPECT_EQ(DecodeMemory(dll, {}).rc, 2);
  }
}

TEST(PluginInterface, EachPluginDeclinesTheOthersFormats) {
  for (const Dll* d : kWicDlls) {
    for (const Dll& other : kDlls) {
      if (&other == d) continue;
      SpiDll dll(other.file);
      EXPECT_EQ(DecodeFile(dll, DataFile(d->sample)).rc, 2) << other.file << " on " << d->sample;
    }
  }
}

// Every 1/16 of each file: whatever the code, never a crash, and a success
// always comes with a whole picture.
TEST(PluginInterface, TruncatedFilesNeverCrash) {
  const char* const files[][2] = {
      {"ifjpeg.spi", "baseline.jpg"}, {"ifjpeg.spi", "progressive.jpg"},
      {"ifjpeg.spi", "orient6.jpg"},  {"ifgif.spi", "plain.gif"},
      {"ifgif.spi", "interlaced.gif"}, {"iftiff.spi", "lzw.tif"},
      {"iftiff.spi", "tiles.tif"},    {"iftiff.spi", "palette.tif"},
      {"iftiff.spi", "rgb16_be.tif"}, {"ifpng.spi", "plain.png"},
      {"ifpng.spi", "interlaced.png"}, {"ifpng.spi", "rgba16.png"},
  };
  for (const auto& f : files) {
    SpiDll dll(f[0]);
    const std::vector<uint8_t> whole = ReadBytes(DataFile(f[1]));
    for (int k = 0; k < 16; ++k) {
      SCOPED_TRACE(std::string(f[1]) + " cut at " + std::to_string(k) + "/16");
      const std::vector<uint8_t> cut(whole.begin(), whole.begin() + whole.size() * k / 16);
      spi::PictureInfo info;
      const int infoRc = InfoOf(dll, reinterpret_cast<const char*>(cut.data()),
                                static_cast<long>(cut.size()), 1, info);
      EXPECT_TRUE(infoRc == 0 || (infoRc >= 2 && infoRc <= 8)) << infoRc;
      const Picture pic = DecodeMemory(dll, cut);
      EXPECT_TRUE(pic.rc == 0 || (pic.rc >= 2 && pic.rc <= 8)) << pic.rc;
      if (pic.rc == 0) {
        EXPECT_GT(pic.width, 0);
        EXPECT_TRUE(pic.bitsBlockLargeEnough);
      }
      if (k == 0) EXPECT_EQ(pic.rc, 2);
    }
  }
}

// Overwrites the big-endian 16-bit value at `at`.
void PutBE16(std::vector<uint8_t>& b, size_t at, unsigned v) {
  b[at] = static_cast<uint8_t>(v >> 8);
  b[at + 1] = static_cast<uint8_t>(v);
}

TEST(PluginInterface, HugeDeclaredSizesAreRefusedWithCode4) {
  // JPEG: the frame header says 30000 x 30000.
  {
    SpiDll dll("ifjpeg.spi");
    std::vector<uint8_t> b = ReadBytes(DataFile("baseline.jpg"));
    size_t sof = 2;
    while (sof + 9 < b.size() && !(b[sof] == 0xFF && (b[sof + 1] == 0xC0 || b[sof + 1] == 0xC2)))
      sof += 2 + (b[sof + 2] << 8 | b[sof + 3]);
    ASSERT_LT(sof + 9, b.size());
    PutBE16(b, sof + 5, 30000);
    PutBE16(b, sof + 7, 30000);
    EXPECT_EQ(DecodeMemory(dll, b).rc, 4);
    // No reduced decoding in Wine: the preview needs the whole picture too.
    EXPECT_EQ(DecodeMemory(dll, b, Call::kPreview).rc, 4);
    PutBE16(b, sof + 5, 65000);
    EXPECT_EQ(DecodeMemory(dll, b).rc, 4);
  }
  // GIF: a logical screen of 65535 x 65535 around a small frame.
  {
    SpiDll dll("ifgif.spi");
    std::vector<uint8_t> b = ReadBytes(DataFile("plain.gif"));
    b[6] = b[7] = b[8] = b[9] = 0xFF;
    EXPECT_EQ(DecodeMemory(dll, b).rc, 4);
  }
}

TEST(PluginInterface, WrongPointersGiveCodes) {
  SpiDll dll("ifjpeg.spi");
  const std::string name = DataFile("baseline.jpg");
  EXPECT_EQ(dll.GetPictureInfo(const_cast<LPSTR>(name.c_str()), 0, 0, nullptr), 8);
  EXPECT_EQ(dll.GetPicture(const_cast<LPSTR>(name.c_str()), 0, 0, nullptr, nullptr, nullptr, 0), 8);
  spi::PictureInfo info;
  EXPECT_EQ(dll.GetPictureInfo(nullptr, 0, 0, &info), 6);
  EXPECT_EQ(dll.GetPictureInfo(nullptr, 10, 1, &info), 5);
  EXPECT_EQ(dll.GetPictureInfo(const_cast<LPSTR>(name.c_str()), 0, 5, &info), -1)
      << "an input kind that does not exist";
}

struct ProgressLog {
  int calls = 0;
  int lastNum = -1;
  int denom = 0;
  bool ordered = true;
  int stopAt = -1;  // answer "stop" on this call
  long data = 0;
};

int WINAPI Track(int num, int denom, spi::UserData lData) {
  auto* log = reinterpret_cast<ProgressLog*>(lData);
  if (num < log->lastNum || num > denom) log->ordered = false;
  log->lastNum = num;
  log->denom = denom;
  return log->calls++ == log->stopAt ? 1 : 0;
}

TEST(PluginInterface, ProgressIsReportedAndStopGivesCode1) {
  for (const Dll* d : kWicDlls) {
    SCOPED_TRACE(d->file);
    SpiDll dll(d->file);
    const std::string name = DataFile(d->sample);
    ProgressLog log;
    Picture pic = Decode(dll, Call::kPicture, name.c_str(), 0, 0, Track,
                         reinterpret_cast<spi::UserData>(&log));
    EXPECT_EQ(pic.rc, 0);
    EXPECT_GE(log.calls, 2);
    EXPECT_TRUE(log.ordered);
    EXPECT_EQ(log.lastNum, log.denom) << "ends with the whole done";

    for (int stop : {0, 1}) {
      ProgressLog stopper;
      stopper.stopAt = stop;
      pic = Decode(dll, Call::kPicture, name.c_str(), 0, 0, Track,
                   reinterpret_cast<spi::UserData>(&stopper));
      EXPECT_EQ(pic.rc, 1) << "stop on call " << stop;
      EXPECT_EQ(stopper.calls, stop + 1) << "no calls after the stop";
    }
  }
}

}  // namespace
}  // namespace spitest
