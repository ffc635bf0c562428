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

template <class Char>
const Char* TextOrNull(const std::basic_string<Char>& text) {
  return text.empty() ? nullptr : text.c_str();
}

// The fields the ANSI and the wide dialog take alike; the name typed or
// chosen comes back in buffer.
template <class Ofn, class Char>
void Describe(Ofn& ofn, HWND owner, const Char* filter, std::vector<Char>& buffer, const Char* title,
              const Char* initialDir, DWORD flags) {
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrTitle = title;
  ofn.lpstrInitialDir = initialDir;
  ofn.Flags = flags;
}

// Windows 95/98: the ANSI dialog, whose names are the code page's anyway.
bool RunAnsi(OPENFILENAMEW& wide, const std::string& filter, const std::string& title,
             const std::string& initialDir, std::vector<std::string>& files, const std::string& fileName,
             bool multiSelect) {
  std::vector<char> buffer(kBufferSize, '\0');
  fileName.copy(buffer.data(), kBufferSize - 2);
  OPENFILENAMEA ofn = {};
  Describe(ofn, wide.hwndOwner, TextOrNull(filter), buffer, TextOrNull(title), TextOrNull(initialDir), wide.Flags);
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

  // The process's current folder stays where it was, whatever the user browses.
  DWORD flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (Options & ofHideReadOnly) flags |= OFN_HIDEREADONLY;
  if (Options & ofAllowMultiSelect) flags |= OFN_ALLOWMULTISELECT;
  if (Options & ofPathMustExist) flags |= OFN_PATHMUSTEXIST;
  if (Options & ofFileMustExist) flags |= OFN_FILEMUSTEXIST;
  OPENFILENAMEW ofn = {};
  Describe(ofn, GetActiveWindow() ? GetActiveWindow() : Application::Get().Handle(),
           Filter.empty() ? nullptr : wideFilter.c_str(), buffer, TextOrNull(title), TextOrNull(initialDir), flags);
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
