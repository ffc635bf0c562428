#include "input.h"

#include <cstring>

#include "Checked.h"

namespace spi {
namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

bool ReadAll(HANDLE file, uint8_t* dst, std::size_t size) {
  while (size > 0) {
    DWORD chunk = size > (1u << 24) ? (1u << 24) : static_cast<DWORD>(size);
    DWORD got = 0;
    if (!ReadFile(file, dst, chunk, &got, nullptr) || got == 0) return false;
    dst += got;
    size -= got;
  }
  return true;
}

int ReadFileInput(LPCSTR name, Length offset, Bytes& out) {
  if (name == nullptr || offset < 0) return kFileReadError;
  FileHandle file(CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return kFileReadError;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < offset) return kFileReadError;
  std::size_t rest;
  if (!checked::Narrow(size.QuadPart - offset, rest) || rest > kMaxInputBytes) return kNoMemory;
  LARGE_INTEGER at;
  at.QuadPart = offset;
  if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN)) return kFileReadError;
  out.owned.resize(rest);
  if (!ReadAll(file.get(), out.owned.data(), out.owned.size())) return kFileReadError;
  out.data = out.owned.data();
  out.size = out.owned.size();
  return kSuccess;
}

}  // namespace

int ReadInput(LPCSTR buf, Length len, unsigned flag, Bytes& out) {
  switch (InputOf(flag)) {
    case kInputFile:
      return ReadFileInput(buf, len, out);
    case kInputMemory:
      if (!checked::Narrow(len, out.size) || (buf == nullptr && len > 0)) return kMemoryError;
      out.data = reinterpret_cast<const uint8_t*>(buf);
      return kSuccess;
    default:
      return kNotImplemented;
  }
}

bool ReadHead(HANDLE file, uint8_t (&head)[kHeadSize]) {
  std::memset(head, 0, sizeof head);
  LARGE_INTEGER zero, start;
  zero.QuadPart = 0;
  const bool seekable = SetFilePointerEx(file, zero, &start, FILE_CURRENT) != 0;
  DWORD got = 0;
  const bool ok = ReadFile(file, head, sizeof head, &got, nullptr) != 0;
  if (seekable) SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
  return ok && got > 0;
}

}  // namespace spi
