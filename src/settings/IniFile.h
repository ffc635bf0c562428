// The settings file "Glimora.ini": the Windows folder's, or the user's own
// once the Windows folder refused a write (SettingsPlace.h has the rule).
// Reads go through the private-profile functions; the dialogs change the file
// by rewriting it whole (Load, change, Save), so a failed save never leaves
// half a file. An IniFile lives for one handler: every read goes to the file,
// nothing is cached.
#pragma once
#include <string>

#include "settings/IniText.h"
#include "settings/Keys.h"
#include "settings/Section.h"
#include "settings/SettingsPlace.h"

namespace settings {

class IniFile {
 public:
  // This user's settings file, found by the rule of SettingsPlace.h.
  IniFile() : IniFile(SettingsPlaces::OfThisUser()) {}
  // That one file (a bare name is a file of the Windows folder), never moved.
  explicit IniFile(const std::string& fileName) : IniFile(SettingsPlaces::Fixed(fileName)) {}
  explicit IniFile(const SettingsPlaces& places) : places_(places), path_(places.Current()) {}

  // The whole value, however long; a missing key gives the default.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& fallback) const;
  // "0x1F" reads as hexadecimal; text that does not convert gives the default.
  int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
  bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

  // Every key of a section in one read.
  Section ReadSection(const std::string& section) const;

  // Single key writes, for values that may be lost without harm (the saver's
  // resume numbers). Raise forms::Error "%s に書き込めません" naming the file.
  // A write the Windows folder refuses for lack of rights moves the whole
  // file, with the change, to the user's own; so does Save.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteBool(const std::string& section, const std::string& key, bool value);

  // The file's text as it is now (empty when there is no file), and the
  // text written back whole: new file beside it, read back, then swapped in.
  // Both raise forms::Error "%s に書き込めません" and then leave the file as it was.
  IniText Load() const;
  void Save(const IniText& text);
  // The section and its keys gone, by the same whole-file route.
  void EraseSection(const std::string& section);

  // Reads through the key catalogue, with the default of the given reader.
  std::string Read(const std::string& section, const StrKey& key, Role role) const {
    return ReadString(section, key.name, key.Default(role));
  }
  int Read(const std::string& section, const IntKey& key, Role role) const {
    return ReadInteger(section, key.name, key.Default(role));
  }
  bool Read(const std::string& section, const BoolKey& key, Role role) const {
    return ReadBool(section, key.name, key.Default(role));
  }

  // Full path of the file, as named in error messages.
  const std::string& Path() const { return path_; }

 private:
  // After a refused write: the whole text goes to the user's own file, which
  // is the settings file from then on (the others are left as they were).
  void MoveToUserFile(const IniText& text);
  [[noreturn]] void RaiseWriteError() const;
  SettingsPlaces places_;
  std::string path_;
};

}  // namespace settings
