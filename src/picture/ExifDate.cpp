#include "picture/ExifDate.h"

#include <cstring>
#include <vector>

namespace picture {

namespace {
constexpr uint16_t kExifIfdTag = 0x8769;
constexpr uint16_t kDateTimeOriginalTag = 0x9003;
constexpr uint16_t kAsciiType = 2;
// More entries than any real directory holds; a larger count is a broken file.
constexpr uint16_t kMaxEntries = 1024;
constexpr size_t kEntrySize = 12;

class Order {
 public:
  explicit Order(bool little) : little_(little) {}
  uint16_t U16(const uint8_t* p) const {
    return static_cast<uint16_t>(little_ ? p[0] | p[1] << 8 : p[0] << 8 | p[1]);
  }
  uint32_t U32(const uint8_t* p) const {
    return little_ ? uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24
                   : uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
  }

 private:
  bool little_;
};

struct Entry {
  uint16_t type = 0;
  uint32_t count = 0;
  uint8_t value[4] = {};  // the value itself when it fits, else its offset
};

// The entry of `tag` in the directory at `offset`.
bool FindEntry(const ByteSource& src, const Order& order, uint32_t offset, uint16_t tag, Entry& out) {
  uint8_t head[2];
  if (!src.Read(offset, head, 2)) return false;
  const uint16_t count = order.U16(head);
  if (count > kMaxEntries) return false;
  uint8_t entries[kMaxEntries * kEntrySize];
  if (!src.Read(uint64_t(offset) + 2, entries, count * kEntrySize)) return false;
  for (uint16_t k = 0; k < count; ++k) {
    const uint8_t* e = entries + k * kEntrySize;
    if (order.U16(e) != tag) continue;
    out.type = order.U16(e + 2);
    out.count = order.U32(e + 4);
    std::memcpy(out.value, e + 8, 4);
    return true;
  }
  return false;
}

bool Digits(const char* p, int n, int& value) {
  value = 0;
  for (int k = 0; k < n; ++k) {
    if (p[k] < '0' || p[k] > '9') return false;
    value = value * 10 + (p[k] - '0');
  }
  return true;
}

int DaysIn(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}
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

}  // namespace

bool MemoryBytes::Read(uint64_t offset, void* out, size_t n) const {
  if (offset > size_ || n > size_ - offset) return false;
  if (n) std::memcpy(out, data_ + offset, n);
  return true;
}

bool ParseExifDate(const char* text, size_t size, TakenTime& t) {
  if (size < 16) return false;
  int second = 0;
  const char* p = text;
  if (p[4] != ':' || p[7] != ':' || p[10] != ' ' || p[13] != ':') return false;
  if (!Digits(p, 4, t.year) || !Digits(p + 5, 2, t.month) || !Digits(p + 8, 2, t.day) ||
      !Digits(p + 11, 2, t.hour) || !Digits(p + 14, 2, t.minute))
    return false;
  if (size >= 19 && p[16] == ':' && !Digits(p + 17, 2, second)) return false;
  return t.year >= 1 && t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= DaysIn(t.year, t.month) &&
         t.hour <= 23 && t.minute <= 59 && second <= 60;
}

bool ReadExifDate(const ByteSource& src, TakenTime& out) {
  uint8_t head[8];
  if (!src.Read(0, head, 8)) return false;
  bool little;
  if (head[0] == 'I' && head[1] == 'I' && head[2] == 42 && head[3] == 0) {
    little = true;
  } else if (head[0] == 'M' && head[1] == 'M' && head[2] == 0 && head[3] == 42) {
    little = false;
  } else {
    return false;
  }
  const Order order(little);
  Entry pointer, date;
  if (!FindEntry(src, order, order.U32(head + 4), kExifIfdTag, pointer)) return false;
  if (!FindEntry(src, order, order.U32(pointer.value), kDateTimeOriginalTag, date)) return false;
  if (date.type != kAsciiType || date.count < 16) return false;
  char text[19] = {};
  const size_t size = date.count < sizeof text ? date.count : sizeof text;
  // Values of more than four bytes lie at the offset the entry holds.
  if (!src.Read(order.U32(date.value), text, size)) return false;
  return ParseExifDate(text, size, out);
}

bool ReadFileExifDate(const ByteSource& file, TakenTime& out) {
  uint8_t magic[8];
  if (!file.Read(0, magic, 8)) return false;
  if (magic[0] == 0xFF && magic[1] == 0xD8) return JpegExif(file, out);
  if (std::memcmp(magic, "\x89PNG\r\n\x1a\n", 8) == 0) return PngExif(file, out);
  return ReadExifDate(file, out);  // a TIFF file is the structure itself
}

}  // namespace picture
