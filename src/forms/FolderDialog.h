// The system's folder picker: the item dialog picking folders (Windows Vista
// and later), or the older browse dialog where that is missing.
#pragma once
#include <string>

namespace forms {

class FolderDialog {
 public:
  enum class Outcome { Chosen, Cancelled, NoAnsiName };

  std::string Title;  // the picker's caption or prompt

  // Runs the picker, owned by the active window. Chosen: Folder() holds the
  // folder's path as the ANSI functions open it (its short form when the
  // long one has characters the code page lacks). NoAnsiName: no such form exists.
  Outcome Execute();
  const std::string& Folder() const { return folder_; }

 private:
  bool ExecuteItemDialog(Outcome& outcome);  // false when the system has none
  Outcome ExecuteBrowseDialog();
  Outcome Take(const wchar_t* path);

  std::string folder_;
};

}  // namespace forms
