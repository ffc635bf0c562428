#include "settings/IniFile.h"

#include <windows.h>

#include "forms/Error.h"
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
                                       path_.c_str());
    if (n < size - 1 || size >= kMaxRead) return buf.substr(0, n);
  }
}

Section IniFile::ReadSection(const std::string& section) const {
  // The block ends in two zeros; a full buffer (size - 2) means there was more.
  for (DWORD size = 32768;; size *= 2) {
    std::string buf(size, '\0');
    DWORD n = GetPrivateProfileSectionA(section.c_str(), &buf[0], size, path_.c_str());
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
  if (places_.WritableHere(path_) &&
      WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
    return;
  if (!places_.MovesOnRefusal(path_, GetLastError())) RaiseWriteError();
  IniText text = Load();
  text.SetValue(section, key, value);
  MoveToUserFile(text);
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
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
  std::string bytes;
  if (!ReadWholeFile(path_, bytes)) RaiseWriteError();
  return IniText(bytes);
}

namespace {
// An empty file of the user's own counts as none, and the older settings it
// replaced would show again: an emptied settings file there keeps a header.
std::string BytesToStore(const IniText& text, const std::string& path, const SettingsPlaces& places) {
  std::string bytes = text.Bytes();
  if (bytes.empty() && path == places.userFile) bytes = std::string("[") + kMainSection + "]\r\n";
  return bytes;
}
}  // namespace

void IniFile::Save(const IniText& text) {
  if (places_.WritableHere(path_) && ReplaceWholeFile(path_, BytesToStore(text, path_, places_))) {
    // The profile functions may hold the old text; this makes them let it go.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
    return;
  }
  if (!places_.MovesOnRefusal(path_, GetLastError())) RaiseWriteError();
  MoveToUserFile(text);
}

void IniFile::MoveToUserFile(const IniText& text) {
  path_ = places_.userFile;
  if (!MakeFoldersFor(path_) || !ReplaceWholeFile(path_, BytesToStore(text, path_, places_))) RaiseWriteError();
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
}

void IniFile::EraseSection(const std::string& section) {
  IniText text = Load();
  text.EraseSection(section);
  Save(text);
}

void IniFile::RaiseWriteError() const {
  throw forms::Error(forms::Format("%s に書き込めません", path_.c_str()));
}

}  // namespace settings
