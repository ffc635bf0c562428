#include "dialogs/DropReport.h"

#include "forms/Application.h"
#include "library/FolderEntry.h"
#include "picture/Decoders.h"

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool HasExtension(const std::string& path, std::initializer_list<const char*> extensions) {
  const std::string extension = picture::PictureExtension(path);
  for (const char* e : extensions)
    if (extension == e) return true;
  return false;
}

namespace {
// The name after the last backslash (a folder keeps its own name).
std::string ShortName(std::string path) {
  while (library::IsFolderEntry(path) && path.size() > 3) path.pop_back();
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

// One message naming what was left out: the first few names, then how many more.
void ReportLeftOut(HWND owner, const std::vector<std::string>& leftOut, const char* reason) {
  if (leftOut.empty()) return;
  std::string text = reason;
  const size_t shown = leftOut.size() > 5 ? 4 : leftOut.size();
  for (size_t i = 0; i < shown; ++i) text += "\r\n" + ShortName(leftOut[i]);
  if (shown < leftOut.size()) text += "\r\nほか" + std::to_string(leftOut.size() - shown) + "件";
  MessageBoxA(owner, text.c_str(), forms::Application::Get().Title().c_str(), MB_OK | MB_ICONINFORMATION);
}
