#include "settings/SettingsPlace.h"

#include <windows.h>

#include "forms/PathText.h"
#include "settings/Keys.h"

namespace settings {

namespace {
// CSIDL values of shell32, whose SHGetFolderPathA Windows 95 may lack.
constexpr int kAppData = 0x001a;
constexpr int kLocalAppData = 0x001c;

// A folder of the user's profile, or empty. Asked of the shell first; the
// environment variable stands in where the shell has no such call.
std::string UserFolder(int csidl, const char* variable) {
  using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
  if (HMODULE shell = GetModuleHandleA("shell32.dll")) {
    auto get = reinterpret_cast<GetFolderPath>(
        reinterpret_cast<void*>(GetProcAddress(shell, "SHGetFolderPathA")));
    char path[MAX_PATH] = {};
    if (get && SUCCEEDED(get(nullptr, csidl, nullptr, 0, path)) && path[0]) return path;
  }
  char value[MAX_PATH];
  DWORD n = GetEnvironmentVariableA(variable, value, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(value, n) : std::string();
}

std::string WindowsFolder() {
  char dir[MAX_PATH];
  UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
  return std::string(dir, n < MAX_PATH ? n : 0);
}

// Size and last write of a file; false when there is no such file.
bool Stat(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
  return !path.empty() && GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
         !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool HasBytes(const WIN32_FILE_ATTRIBUTE_DATA& d) { return d.nFileSizeHigh != 0 || d.nFileSizeLow != 0; }
}  // namespace

SettingsPlaces SettingsPlaces::OfThisUser() {
  SettingsPlaces places;
  const std::string windows = WindowsFolder();
  places.systemFile = forms::WithTrailingBackslash(windows) + kFileName;
  const std::string local = UserFolder(kLocalAppData, "LOCALAPPDATA");
  // "C:\Windows" is kept in the VirtualStore as "VirtualStore\Windows".
  if (!local.empty() && windows.size() > 3 && windows[1] == ':')
    places.virtualStoreFile =
        forms::WithTrailingBackslash(local) + "VirtualStore\\" + forms::WithTrailingBackslash(windows.substr(3)) + kFileName;
  const std::string roaming = UserFolder(kAppData, "APPDATA");
  if (!roaming.empty()) places.userFile = forms::WithTrailingBackslash(roaming) + "Glimora\\" + kFileName;
  return places;
}

SettingsPlaces SettingsPlaces::Fixed(const std::string& name) {
  SettingsPlaces places;
  places.systemFile = name.find_first_of("\\:") != std::string::npos
                          ? name
                          : forms::WithTrailingBackslash(WindowsFolder()) + name;
  return places;
}

std::string SettingsPlaces::Current() const {
  WIN32_FILE_ATTRIBUTE_DATA user, store, system;
  // An empty file of the user's (cut to nothing by something outside
  // Glimora) is passed over, so the settings it was copied from show again.
  if (Stat(userFile, user) && HasBytes(user)) return userFile;
  if (Stat(virtualStoreFile, store) && HasBytes(store)) {
    if (!Stat(systemFile, system) || CompareFileTime(&store.ftLastWriteTime, &system.ftLastWriteTime) >= 0)
      return virtualStoreFile;
  }
  return systemFile;
}

bool SettingsPlaces::WritableHere(const std::string& path) const {
  return userFile.empty() || path != virtualStoreFile;
}

bool SettingsPlaces::MovesOnRefusal(const std::string& path, unsigned long error) const {
  if (userFile.empty() || path == userFile) return false;
  if (!WritableHere(path)) return true;
  return path == systemFile && (error == ERROR_ACCESS_DENIED || error == ERROR_PRIVILEGE_NOT_HELD);
}

}  // namespace settings
