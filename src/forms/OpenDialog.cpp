#include "forms/OpenDialog.h"

#include <windows.h>
#include <commdlg.h>

#include "forms/Application.h"
#include "forms/PathText.h"

namespace forms {

namespace {
// Room for many files chosen at once (each a full name within the folder).
const size_t kBufferSize = 256 * 1024;
}

std::vector<std::string> SplitOpenFileResult(const char* buffer, bool multiSelect) {
  std::vector<std::string> files;
  std::string first = buffer;
  if (first.empty()) return files;
  const char* p = buffer + first.size() + 1;
  if (!multiSelect || *p == '\0') {
    files.push_back(first);
    return files;
  }
  // Folder first, then the names; a root folder already ends in '\'.
  std::string folder = WithTrailingBackslash(first);
  for (; *p; p += std::string(p).size() + 1) files.push_back(folder + p);
  return files;
}

bool OpenDialog::Execute() {
  files_.clear();
  std::string filter = Filter;
  for (char& c : filter)
    if (c == '|') c = '\0';
  filter.append(2, '\0');

  std::vector<char> buffer(kBufferSize, '\0');
  FileName.copy(buffer.data(), kBufferSize - 2);

  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow() ? GetActiveWindow() : Application::Get().Handle();
  ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(kBufferSize);
  ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
  ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
  // The process's current folder stays where it was, whatever the user browses.
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (Options & ofHideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
  if (Options & ofAllowMultiSelect) ofn.Flags |= OFN_ALLOWMULTISELECT;
  if (Options & ofPathMustExist) ofn.Flags |= OFN_PATHMUSTEXIST;
  if (Options & ofFileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;

  if (!GetOpenFileNameA(&ofn)) return false;
  files_ = SplitOpenFileResult(buffer.data(), (Options & ofAllowMultiSelect) != 0);
  if (files_.empty()) return false;
  FileName = files_.front();
  return true;
}

}  // namespace forms
