#include "picture/ExifDate.h"

#include <cstring>

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

}  // namespace picture
