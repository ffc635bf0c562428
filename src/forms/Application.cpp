#include "forms/Application.h"

#include <commctrl.h>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "forms/Error.h"
#include "forms/Form.h"
#include "forms/WindowClass.h"

namespace forms {

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), format, args);
    out.assign(buf.data(), static_cast<size_t>(n));
  }
  va_end(args);
  return out;
}

namespace {
const char kAppClass[] = "TApplication";

LRESULT CALLBACK AppWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(hwnd, msg, wp, lp);
}
}  // namespace

Application& Application::Get() {
  static Application app;
  return app;
}

void Application::Initialize(HINSTANCE instance) {
  instance_ = instance;
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);

  WindowClass wc{kAppClass, AppWndProc};
  wc.programIcon = true;
  RegisterWindowClass(wc);
  // Zero-sized and never shown: owner of every form, like a task-bar stand-in.
  handle_ = CreateWindowExA(0, kAppClass, title_.c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
                            0, 0, nullptr, nullptr, instance, nullptr);
}

void Application::SetTitle(const std::string& title) {
  title_ = title;
  if (handle_) SetWindowTextA(handle_, title.c_str());
}

void Application::Run() {
  MSG msg;
  while (mainForm_ && IsWindow(mainForm_->Handle())) {
    BOOL r = GetMessageA(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) break;
    ProcessMessage(msg);
  }
}

namespace {
// GetMessageA hands a double-byte character over as two WM_CHAR messages.
// Wine's IsDialogMessageA then converts each half on its own and Japanese
// input arrives garbled. For a Unicode window (the edits are) the halves are
// joined here and the character goes on as one UTF-16 WM_CHAR.
bool JoinDoubleByteChar(MSG& msg) {
  if (msg.message != WM_CHAR || !IsWindowUnicode(msg.hwnd) ||
      !IsDBCSLeadByte(static_cast<BYTE>(msg.wParam)))
    return false;
  MSG trail;
  if (!PeekMessageA(&trail, msg.hwnd, WM_CHAR, WM_CHAR, PM_REMOVE)) return false;
  char bytes[2] = {static_cast<char>(msg.wParam), static_cast<char>(trail.wParam)};
  WCHAR ch = 0;
  if (MultiByteToWideChar(CP_ACP, 0, bytes, 2, &ch, 1) != 1) return false;
  msg.wParam = ch;
  return true;
}
}  // namespace

void Application::ProcessMessage(MSG& msg) {
  Form* form = Form::FromChildOrSelf(msg.hwnd);
  if (JoinDoubleByteChar(msg)) {
    if (!form || !form->DialogKeys || !IsDialogMessageW(form->Handle(), &msg)) DispatchMessageW(&msg);
    CheckFocusChange();
    return;
  }
  bool handled = false;
  if (form) {
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && form->KeyPreview) {
      Guarded([&] { handled = form->PreviewKey(msg); });
    }
    if (!handled && form->DialogKeys && IsDialogMessageA(form->Handle(), &msg)) handled = true;
  }
  if (!handled) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  CheckFocusChange();
}

void Application::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    ProcessMessage(msg);
  }
}

void Application::CheckFocusChange() {
  HWND focus = GetFocus();
  if (focus == lastFocus_) return;
  lastFocus_ = focus;
  if (OnActiveControlChange) Guarded([&] { OnActiveControlChange(); });
}

void Application::ShowError(const std::string& message) {
  std::string text = message + ".";
  HWND owner = GetActiveWindow();
  if (!owner) owner = handle_;
  MessageBoxA(owner, text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

void Application::HandleException() noexcept {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    ShowError("メモリーが不足しています");
  } catch (const std::exception& e) {
    ShowError(e.what());
  } catch (...) {
    ShowError("原因不明のエラー");
  }
}

void Application::HelpContext(int context) {
  if (OnHelp) Guarded([&] { OnHelp(context); });
}

}  // namespace forms
