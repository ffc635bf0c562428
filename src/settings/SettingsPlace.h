// Where this user's "Glimora.ini" lives. Windows 95 to XP keep it in the
// Windows folder, which anyone may write. From Vista on a program that is
// not elevated may not write there, so the settings move to a file of the
// user's own the first time a write to the Windows folder is refused:
//   1. %APPDATA%\Glimora\Glimora.ini, once it exists, is the settings file;
//   2. otherwise the Windows folder's file is, or the user's VirtualStore
//      copy of it (what Windows redirected an older build's writes to),
//      whichever was written last.
// The Windows folder's file and the VirtualStore copy are only ever read.
#pragma once
#include <string>

namespace settings {

struct SettingsPlaces {
  std::string systemFile;        // <Windows folder>\Glimora.ini
  std::string virtualStoreFile;  // <local app data>\VirtualStore\<Windows folder>\Glimora.ini; may be empty
  std::string userFile;          // <app data>\Glimora\Glimora.ini; empty when the user has no such folder

  // The places of the user this process runs as.
  static SettingsPlaces OfThisUser();
  // One file and no other place: no move, whatever happens to a write. A
  // bare name is a file of the Windows folder.
  static SettingsPlaces Fixed(const std::string& name);

  // The file that holds the settings now, by the rule above.
  std::string Current() const;
  // False for the VirtualStore copy while the user has a file of their own:
  // that copy is Windows' to keep, so a change goes to the user's file.
  bool WritableHere(const std::string& path) const;
  // Whether a write refused to `path` (with the error Windows gave) goes to
  // the user's own file instead: only for lack of rights, and only from the
  // Windows folder's file, or from the VirtualStore copy.
  bool MovesOnRefusal(const std::string& path, unsigned long error) const;
};

}  // namespace settings
