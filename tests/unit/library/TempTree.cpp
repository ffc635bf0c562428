#include "TempTree.h"

#include <windows.h>

#include "library/FolderListing.h"

namespace library_test {

TempTree::TempTree() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  static int serial = 0;
  root_ = std::wstring(temp) + L"glimora-library-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++serial) + L"\\";
  RemoveTree(root_);
  CreateDirectoryW(root_.c_str(), nullptr);
}

TempTree::~TempTree() { RemoveTree(root_); }

std::string TempTree::RootAnsi() const {
  std::string out;
  library::ToAnsi(root_, out);
  return out;
}

void TempTree::Folder(const std::wstring& rel) {
  for (size_t at = rel.find(L'\\'); ; at = rel.find(L'\\', at + 1)) {
    const std::wstring part = root_ + rel.substr(0, at);
    CreateDirectoryW(library::LongPathForm(part).c_str(), nullptr);
    if (at == std::wstring::npos) break;
  }
}

void TempTree::File(const std::wstring& rel) {
  const size_t slash = rel.rfind(L'\\');
  if (slash != std::wstring::npos) Folder(rel.substr(0, slash));
  HANDLE file = CreateFileW(library::LongPathForm(root_ + rel).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, "BM", 2, &written, nullptr);
  CloseHandle(file);
}

void RemoveTree(const std::wstring& path) {
  const std::wstring base = path.back() == L'\\' ? path : path + L'\\';
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(library::LongPathForm(base + L"*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = library::LongPathForm(base + name);
      const DWORD a = found.dwFileAttributes;
      if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT))
        RemoveTree(base + name);
      else if (a & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryW(full.c_str());
      else
        DeleteFileW(full.c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  RemoveDirectoryW(library::LongPathForm(base).c_str());
}

}  // namespace library_test
