#include "app/Help.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "app/HelpTopics.h"
#include "forms/Application.h"
#include "forms/Com.h"
#include "forms/PathText.h"

namespace app {

namespace {

constexpr char kHelpFolderName[] = "help";

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
  if (context >= kHelpThemes && context <= kHelpDisplay) return kHelpTopicPages[context - kHelpThemes];
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
