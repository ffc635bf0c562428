// A file handle from CreateFile with its one owner, and the whole-file read
// both the settings file and the picture readers use.
#pragma once
#include <windows.h>

#include <string>
#include <utility>

namespace forms {

// CreateFile reports failure with INVALID_HANDLE_VALUE, not null.
class FileHandle {
 public:
  explicit FileHandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  ~FileHandle() {
    if (Valid()) CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  FileHandle(FileHandle&& o) noexcept : h_(std::exchange(o.h_, INVALID_HANDLE_VALUE)) {}
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

// Opens an existing file for reading, shared with other readers.
inline FileHandle OpenForReading(const std::string& path) {
  return FileHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

enum class WholeRead { Ok, Unreadable, TooLarge };

// Reads the open file whole into bytes (a std::string or std::vector<BYTE>);
// a file of more than `limit` bytes is refused before anything is read.
template <class Bytes>
WholeRead ReadWhole(HANDLE file, Bytes& bytes, size_t limit) {
  bytes.clear();
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) return WholeRead::Unreadable;
  if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > limit) return WholeRead::TooLarge;
  bytes.resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;  // a read of at most `limit` bytes fits a DWORD
    if (!ReadFile(file, &bytes[done], static_cast<DWORD>(bytes.size() - done), &got, nullptr))
      return WholeRead::Unreadable;
    if (got == 0) break;  // the file became shorter meanwhile
    done += got;
  }
  bytes.resize(done);
  return WholeRead::Ok;
}

}  // namespace forms
