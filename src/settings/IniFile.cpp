#include "settings/IniFile.h"

#include <windows.h>

#include "forms/Error.h"
#include "forms/PathText.h"
#include "settings/Convert.h"

namespace settings {

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
  char buf[1024];
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buf,
                                     sizeof buf, fileName_);
  return std::string(buf, n);
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const {
  std::string text = ReadString(section, key, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    text = "$" + text.substr(2);
  return StrToIntDef(text, fallback);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), fileName_))
    RaiseWriteError();
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniFile::EraseSection(const std::string& section) {
  if (!WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, fileName_)) RaiseWriteError();
}

std::string IniFile::Path() const {
  std::string name = fileName_;
  if (name.find_first_of("\\:") != std::string::npos) return name;
  char dir[MAX_PATH];
  UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
  return forms::WithTrailingBackslash(std::string(dir, n < MAX_PATH ? n : 0)) + name;
}

void IniFile::RaiseWriteError() const {
  throw forms::Error(forms::Format("%s に書き込めません", Path().c_str()));
}

}  // namespace settings
