#include "picture/PictureFacts.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "forms/FileHandle.h"

namespace picture {

namespace {
// Segments of a JPEG before its scan, chunks of a PNG: real files have a
// few dozen (a PNG may have thousands of small IDAT chunks before eXIf).
constexpr int kMaxJpegSegments = 256;
constexpr int kMaxPngChunks = 20000;
constexpr uint32_t kMaxExifChunk = 1u << 20;

uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// A block read whole, then parsed as the TIFF structure it holds.
bool ExifIn(const ByteSource& file, uint64_t offset, uint32_t size, TakenTime& out) {
  std::vector<uint8_t> block(size);
  if (!file.Read(offset, block.data(), size)) return false;
  return ReadExifDate(MemoryBytes(block.data(), block.size()), out);
}

bool JpegExif(const ByteSource& file, TakenTime& out) {
  uint64_t at = 2;
  for (int k = 0; k < kMaxJpegSegments; ++k) {
    uint8_t marker[4];
    if (!file.Read(at, marker, 2) || marker[0] != 0xFF) return false;
    if (marker[1] == 0xFF) {  // fill byte before a marker
      ++at;
      continue;
    }
    if (marker[1] == 0xDA || marker[1] == 0xD9) return false;  // the scan, or the end: no EXIF before it
    if (!file.Read(at + 2, marker + 2, 2)) return false;
    const uint32_t length = uint32_t(marker[2]) << 8 | marker[3];
    if (length < 2) return false;
    uint8_t id[6];
    if (marker[1] == 0xE1 && length >= 2 + 6 + 8 && file.Read(at + 4, id, 6) &&
        std::memcmp(id, "Exif\0\0", 6) == 0)
      return ExifIn(file, at + 10, length - 8, out);
    at += 2 + length;
  }
  return false;
}

bool PngExif(const ByteSource& file, TakenTime& out) {
  uint64_t at = 8;
  for (int k = 0; k < kMaxPngChunks; ++k) {
    uint8_t head[8];
    if (!file.Read(at, head, 8)) return false;
    const uint32_t length = BigEndian32(head);
    if (std::memcmp(head + 4, "eXIf", 4) == 0) return length <= kMaxExifChunk && ExifIn(file, at + 8, length, out);
    if (std::memcmp(head + 4, "IEND", 4) == 0) return false;
    at += 12 + uint64_t(length);
  }
  return false;
}

class FileBytes : public ByteSource {
 public:
  explicit FileBytes(HANDLE file) : file_(file) {}
  bool Read(uint64_t offset, void* out, size_t n) const override {
    LONG high = static_cast<LONG>(offset >> 32);
    const DWORD low = SetFilePointer(file_, static_cast<LONG>(offset & 0xFFFFFFFFu), &high, FILE_BEGIN);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return false;
    DWORD got = 0;
    return n <= 0xFFFFFFFFu && ReadFile(file_, out, static_cast<DWORD>(n), &got, nullptr) && got == n;
  }

 private:
  HANDLE file_;
};

TakenTime LocalTime(const FILETIME& written) {
  FILETIME local;
  SYSTEMTIME s = {};
  TakenTime t;
  if (!FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &s)) return t;
  t.year = s.wYear;
  t.month = s.wMonth;
  t.day = s.wDay;
  t.hour = s.wHour;
  t.minute = s.wMinute;
  return t;
}

std::wstring AfterFolder(const std::wstring& path) {
  const size_t cut = path.find_last_of(L"\\/:");
  return cut == std::wstring::npos ? path : path.substr(cut + 1);
}
}  // namespace

bool ReadFileExifDate(const ByteSource& file, TakenTime& out) {
  uint8_t magic[8];
  if (!file.Read(0, magic, 8)) return false;
  if (magic[0] == 0xFF && magic[1] == 0xD8) return JpegExif(file, out);
  if (std::memcmp(magic, "\x89PNG\r\n\x1a\n", 8) == 0) return PngExif(file, out);
  return ReadExifDate(file, out);  // a TIFF file is the structure itself
}

PictureFacts ReadPictureFacts(const std::wstring& path) {
  PictureFacts facts;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    facts.name = AfterFolder(path);  // as the list names it (no wide calls on Windows 95/98)
    return facts;
  }
  FindClose(search);
  facts.name = found.cFileName;
  facts.taken = LocalTime(found.ftLastWriteTime);
  facts.hasTime = facts.taken.year != 0;
  forms::FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  TakenTime exif;
  if (file.Valid() && ReadFileExifDate(FileBytes(file.get()), exif)) {
    facts.taken = exif;
    facts.hasTime = facts.fromExif = true;
  }
  return facts;
}

}  // namespace picture
