#include "app/Help.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "forms/Application.h"
#include "forms/Com.h"
#include "forms/PathText.h"

namespace app {

namespace {

constexpr char kHelpFolderName[] = "help";

// Help contexts 1 to 7, as the dialogs carry them.
const char* const kPages[] = {
    "themes.html",   // 1 theme selection dialog
    "names.html",    // 2 rename and other-settings dialogs
    "images.html",   // 3 image page, image test display
    "music.html",    // 4 music page
    "effects.html",  // 5 effects page
    "other.html",    // 6 その他 page
    "display.html",  // 7 表示 page
};

bool IsFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}


void Tell(const std::string& text) {
  forms::Application& app = forms::Application::Get();
  HWND owner = GetActiveWindow();
  if (!owner) owner = app.Handle();
  MessageBoxA(owner, text.c_str(), app.Title().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

const char* HelpPageName(int context) {
  if (context >= 1 && context <= static_cast<int>(sizeof kPages / sizeof kPages[0])) return kPages[context - 1];
  return "index.html";
}

std::string HelpFolder() {
  char module[MAX_PATH * 2] = {};
  DWORD n = GetModuleFileNameA(nullptr, module, sizeof module);
  std::string path(module, n < sizeof module ? n : 0);
  return forms::FolderOf(path) + kHelpFolderName + "\\";
}

void ShowHelp(int context) {
  std::string folder = HelpFolder();
  std::string page = folder + HelpPageName(context);
  if (!IsFile(page)) {
    Tell("ヘルプのページが見つかりません。\r\n次の場所を探しました：\r\n" + page +
         "\r\n\r\nGlimora.scr と同じフォルダに help フォルダを置いてください。");
    return;
  }
  forms::ComApartment com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);  // for the shell's handlers
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.hwnd = GetActiveWindow();
  info.lpVerb = "open";
  info.lpFile = page.c_str();
  info.lpDirectory = folder.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (ShellExecuteExA(&info)) return;
  bool noProgram = GetLastError() == ERROR_NO_ASSOCIATION ||
                   reinterpret_cast<INT_PTR>(info.hInstApp) == SE_ERR_NOASSOC;
  const char* why = noProgram ? "ヘルプのページを開くプログラムが見つかりません。" : "ヘルプのページを開けませんでした。";
  Tell(std::string(why) + "\r\nブラウザーで次のファイルを開いてください：\r\n" + page);
}

}  // namespace app
