#include "picture/PictureFacts.h"

#include <windows.h>

#include "forms/FileHandle.h"
#include "picture/PluginText.h"

namespace picture {

namespace {
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

PictureFacts ReadPictureFacts(const std::wstring& path, const std::string& pluginText) {
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
  if ((file.Valid() && ReadFileExifDate(FileBytes(file.get()), exif)) || DateInInfoText(pluginText, exif)) {
    facts.taken = exif;
    facts.hasTime = facts.fromExif = true;
  }
  return facts;
}

}  // namespace picture
