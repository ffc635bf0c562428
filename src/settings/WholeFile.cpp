#include "settings/WholeFile.h"

#include <windows.h>

#include "forms/FileHandle.h"
#include "forms/PathText.h"

namespace settings {

namespace {
// The settings file is small; anything larger is not ours to rewrite.
constexpr size_t kMaxSettingsBytes = 64u * 1024 * 1024;

bool WriteAll(const std::string& path, const std::string& bytes) {
  forms::FileHandle f(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) return false;
  DWORD written = 0;
  if (!bytes.empty() &&
      (!WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
       written != bytes.size()))
    return false;
  return FlushFileBuffers(f.get()) != 0;
}

// The new file in place of the old in one step. Windows 95 and 98 have no
// MoveFileEx: there the old file steps aside first and comes back should the
// new one fail to go in.
bool SwapIn(const char* temp, const std::string& path, const std::string& folder) {
  if (MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
  char aside[MAX_PATH];
  if (!GetTempFileNameA(folder.c_str(), "gli", 0, aside)) return false;
  DeleteFileA(aside);
  const bool hadOld = MoveFileA(path.c_str(), aside) != 0;
  if (MoveFileA(temp, path.c_str())) {
    if (hadOld) DeleteFileA(aside);
    return true;
  }
  if (hadOld) MoveFileA(aside, path.c_str());
  return false;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  forms::FileHandle f = forms::OpenForReading(path);
  if (f.Valid()) return forms::ReadWhole(f.get(), bytes, kMaxSettingsBytes) == forms::WholeRead::Ok;
  const DWORD error = GetLastError();
  bytes.clear();
  return error == ERROR_FILE_NOT_FOUND;
}

bool ReplaceWholeFile(const std::string& path, const std::string& bytes) {
  std::string folder = forms::FolderOf(path);
  if (folder.empty()) folder = ".\\";
  char temp[MAX_PATH];
  if (!GetTempFileNameA(folder.c_str(), "gli", 0, temp)) return false;
  std::string check;
  const bool ok = WriteAll(temp, bytes) && ReadWholeFile(temp, check) && check == bytes &&
                  SwapIn(temp, path, folder);
  if (!ok) {
    const DWORD why = GetLastError();
    DeleteFileA(temp);
    SetLastError(why);
  }
  return ok;
}

bool MakeFoldersFor(const std::string& path) {
  // Each "\\" ends a folder to make; a double-byte character's trail byte
  // may be 0x5C and ends none. Folders that exist, or that cannot be made
  // (a drive, a share's server), are passed; the file's own folder decides.
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(path[i]))) {
      ++i;
    } else if (path[i] == '\\' && i > 0) {
      CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
      last = i;
    }
  }
  if (last == std::string::npos) return true;
  const DWORD attributes = GetFileAttributesA(path.substr(0, last).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace settings
