#include "forms/OpenDialog.h"

#include <windows.h>
#include <commdlg.h>

#include "forms/Application.h"
#include "forms/PathText.h"
#include "forms/WideText.h"

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

namespace {

// Splits the wide result as SplitOpenFileResult splits the narrow one.
std::vector<std::wstring> SplitWide(const wchar_t* buffer, bool multiSelect) {
  std::vector<std::wstring> files;
  const std::wstring first = buffer;
  if (first.empty()) return files;
  const wchar_t* p = buffer + first.size() + 1;
  if (!multiSelect || *p == L'\0') return {first};
  const std::wstring folder = first.back() == L'\\' ? first : first + L'\\';
  for (; *p; p += std::wstring(p).size() + 1) files.push_back(folder + p);
  return files;
}

// Windows 95/98: the ANSI dialog, whose names are the code page's anyway.
bool RunAnsi(OPENFILENAMEW& wide, const std::string& filter, const std::string& title,
             const std::string& initialDir, std::vector<std::string>& files, const std::string& fileName,
             bool multiSelect) {
  std::vector<char> buffer(kBufferSize, '\0');
  fileName.copy(buffer.data(), kBufferSize - 2);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = wide.hwndOwner;
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(kBufferSize);
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  ofn.Flags = wide.Flags;
  if (!GetOpenFileNameA(&ofn)) return false;
  files = SplitOpenFileResult(buffer.data(), multiSelect);
  return true;
}

}  // namespace

bool AnsiNameOf(const std::wstring& path, std::string& out) {
  if (ToAnsi(path, out)) return true;
  std::vector<wchar_t> shortPath(MAX_PATH + 1);
  const DWORD n = GetShortPathNameW(path.c_str(), shortPath.data(), MAX_PATH);
  return n > 0 && n <= MAX_PATH && ToAnsi(std::wstring(shortPath.data(), n), out);
}

bool OpenDialog::Execute() {
  files_.clear();
  refused_.clear();
  std::string filter = Filter;
  for (char& c : filter)
    if (c == '|') c = '\0';
  filter.append(2, '\0');
  const std::wstring wideFilter = FromAnsi(filter), title = FromAnsi(Title), initialDir = FromAnsi(InitialDir);

  std::vector<wchar_t> buffer(kBufferSize, L'\0');
  FromAnsi(FileName).copy(buffer.data(), kBufferSize - 2);

  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow() ? GetActiveWindow() : Application::Get().Handle();
  ofn.lpstrFilter = Filter.empty() ? nullptr : wideFilter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(kBufferSize);
  ofn.lpstrTitle = Title.empty() ? nullptr : title.c_str();
  ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : initialDir.c_str();
  // The process's current folder stays where it was, whatever the user browses.
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (Options & ofHideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
  if (Options & ofAllowMultiSelect) ofn.Flags |= OFN_ALLOWMULTISELECT;
  if (Options & ofPathMustExist) ofn.Flags |= OFN_PATHMUSTEXIST;
  if (Options & ofFileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
  const bool multiSelect = (Options & ofAllowMultiSelect) != 0;

  if (GetOpenFileNameW(&ofn)) {
    // The settings file keeps names in the code page: a name it cannot hold
    // is stored by its short name where the volume has one, else refused.
    for (const std::wstring& file : SplitWide(buffer.data(), multiSelect)) {
      std::string ansi;
      if (AnsiNameOf(file, ansi))
        files_.push_back(ansi);
      else
        refused_.push_back(AnsiFromWide(file));
    }
  } else if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED ||
             !RunAnsi(ofn, filter, Title, InitialDir, files_, FileName, multiSelect)) {
    return false;
  }
  if (!refused_.empty()) ReportRefused();
  if (files_.empty()) return false;
  FileName = files_.front();
  return true;
}

void OpenDialog::ReportRefused() const {
  std::string names;
  for (const std::string& name : refused_) names += name + "\n";
  MessageBoxA(GetActiveWindow(),
              (names + "\nこのファイル名はこのシステムの文字コードで表せないため、1 枚ずつは追加できません。"
                       "フォルダごと追加してください（「フォルダ追加」）。").c_str(),
              Application::Get().Title().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace forms
