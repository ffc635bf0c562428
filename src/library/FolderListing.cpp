#include "library/FolderListing.h"

#include <algorithm>

#include "forms/FileHandle.h"
#include "forms/Gdi.h"
#include "library/NaturalOrder.h"

namespace library {

namespace {

constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool IsDots(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

void Take(FolderListing& out, const std::wstring& name, DWORD attributes) {
  if ((attributes & kHiddenSystem) == kHiddenSystem) return;
  (attributes & FILE_ATTRIBUTE_DIRECTORY ? out.folders : out.files).push_back(name);
}

std::wstring WithSlash(const std::wstring& path) {
  return !path.empty() && path.back() == L'\\' ? path : path + L'\\';
}

// Windows 95/98 have no wide find functions: the ANSI ones list the folder.
bool ListFolderAnsi(const std::wstring& path, FolderListing& out) {
  std::string pattern;
  if (!ToAnsi(WithSlash(path) + L"*", pattern)) return false;
  WIN32_FIND_DATAA found;
  HANDLE first = FindFirstFileA(pattern.c_str(), &found);
  if (first == INVALID_HANDLE_VALUE) return false;
  const forms::FindHandle find(first);
  do {
    std::wstring name = FromAnsi(found.cFileName);
    if (!IsDots(name.c_str())) Take(out, name, found.dwFileAttributes);
  } while (FindNextFileA(find.get(), &found));
  return true;
}

}  // namespace

std::wstring LongPathForm(const std::wstring& path) {
  if (path.size() < MAX_PATH - 12 || path.compare(0, 4, L"\\\\?\\") == 0) return path;
  if (path.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + path.substr(2);
  return L"\\\\?\\" + path;
}

namespace {

bool ListFolderWide(const std::wstring& path, FolderListing& out) {
  WIN32_FIND_DATAW found;
  HANDLE first = FindFirstFileW(LongPathForm(WithSlash(path) + L"*").c_str(), &found);
  if (first == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_CALL_NOT_IMPLEMENTED) return ListFolderAnsi(path, out);
    // An empty folder still lists "." and ".."; a drive root may list nothing at all.
    return error == ERROR_FILE_NOT_FOUND && path.size() <= 3;
  }
  const forms::FindHandle find(first);
  do {
    if (!IsDots(found.cFileName)) Take(out, found.cFileName, found.dwFileAttributes);
  } while (FindNextFileW(find.get(), &found));
  return true;
}

}  // namespace

bool ListFolder(const std::wstring& path, FolderListing& out) {
  out = FolderListing();
  if (!ListFolderWide(path, out)) return false;
  std::sort(out.files.begin(), out.files.end(), NaturalLess);
  std::sort(out.folders.begin(), out.folders.end(), NaturalLess);
  return true;
}

bool IdentifyFolder(const std::wstring& path, FolderIdentity& out) {
  const forms::FileHandle folder(CreateFileW(LongPathForm(path).c_str(), 0,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder.Valid()) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = GetFileInformationByHandle(folder.get(), &info) != FALSE;
  if (known) out = FolderIdentity(info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow);
  return known;
}

}  // namespace library
