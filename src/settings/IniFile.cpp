#include "settings/IniFile.h"

#include <windows.h>

#include "forms/Error.h"
#include "forms/PathText.h"
#include "settings/Convert.h"
#include "settings/WholeFile.h"

namespace settings {

namespace {
// Reads stop growing their buffer here: no sane settings file comes near it.
constexpr DWORD kMaxRead = 64u << 20;
}  // namespace

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
  // A value that fills the buffer may have been cut: read again with more room.
  for (DWORD size = 1024;; size *= 2) {
    std::string buf(size, '\0');
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), &buf[0], size,
                                       fileName_);
    if (n < size - 1 || size >= kMaxRead) return buf.substr(0, n);
  }
}

Section IniFile::ReadSection(const std::string& section) const {
  // The block ends in two zeros; a full buffer (size - 2) means there was more.
  for (DWORD size = 32768;; size *= 2) {
    std::string buf(size, '\0');
    DWORD n = GetPrivateProfileSectionA(section.c_str(), &buf[0], size, fileName_);
    if (n < size - 2 || size >= kMaxRead) return Section::Parse(buf.data(), n);
  }
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const {
  return IntegerValue(ReadString(section, key, ""), fallback);
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

IniText IniFile::Load() const {
  // Single key writes that the profile functions still hold go to the disk
  // first, so the text read here has them and the swap cannot lose them.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, fileName_);
  std::string bytes;
  if (!ReadWholeFile(Path(), bytes)) RaiseWriteError();
  return IniText(bytes);
}

void IniFile::Save(const IniText& text) {
  if (!ReplaceWholeFile(Path(), text.Bytes())) RaiseWriteError();
  // The profile functions may hold the old text; this makes them let it go.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, fileName_);
}

void IniFile::EraseSection(const std::string& section) {
  IniText text = Load();
  text.EraseSection(section);
  Save(text);
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
