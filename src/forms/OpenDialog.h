// The system's open-file dialog (GetOpenFileNameW; the ANSI one on Windows
// 95/98). Filter in the form "description|patterns|description|patterns";
// FileName is the initial text of the name box before Execute and the first
// chosen file after it. Chosen names are the code page's: a name it cannot
// hold comes as its short (8.3) name where the volume has one, else it is
// refused with a message that says to add its folder instead.
#pragma once
#include <string>
#include <vector>

namespace forms {

enum : unsigned {
  ofHideReadOnly = 1u << 0,     // no "read only" check box
  ofAllowMultiSelect = 1u << 1,
  ofPathMustExist = 1u << 2,
  ofFileMustExist = 1u << 3,
};

class OpenDialog {
 public:
  std::string Filter;
  std::string FileName;
  std::string Title;       // empty: the system's
  std::string InitialDir;  // empty: the system's
  unsigned Options = 0;

  // Runs the dialog, owned by the active window. True when the user chose.
  bool Execute();
  // The chosen files as full paths, in the order the dialog lists them.
  const std::vector<std::string>& Files() const { return files_; }
  // The chosen files that were refused (characters the code page lacks as '?').
  const std::vector<std::string>& Refused() const { return refused_; }

 private:
  void ReportRefused() const;

  std::vector<std::string> files_;
  std::vector<std::string> refused_;
};

// The path in the code page, or its short name there; false when neither.
bool AnsiNameOf(const std::wstring& path, std::string& out);

// Splits what GetOpenFileName returned ("path\0" or "folder\0name\0name\0\0")
// into full paths.
std::vector<std::string> SplitOpenFileResult(const char* buffer, bool multiSelect);

}  // namespace forms
