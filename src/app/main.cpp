// Entry point: one executable, four run modes chosen by the first argument.
#include <windows.h>

#include <cstdlib>
#include <memory>

#include "app/Help.h"
#include "app/RunMode.h"
#include "dialogs/MainDlg.h"
#include "forms/Application.h"
#include "saver/ShowController.h"

namespace {

int RunMainForm(forms::Form& form) {
  forms::Application& app = forms::Application::Get();
  app.SetMainForm(&form);
  form.Show();
  app.Run();
  app.SetMainForm(nullptr);
  return 0;
}

// The saver inside the control panel's little monitor picture.
int RunPreview(int argc, char** argv) {
  if (FindWindowA("TMainForm", nullptr)) return 0;
  forms::Application& app = forms::Application::Get();
  ShowWindow(app.Handle(), SW_HIDE);
  // Without a usable parent window there is nothing to draw into: end at once.
  HWND parent = nullptr;
  if (argc < 3 || !app::ParseWindowHandle(argv[2], parent) || !IsWindow(parent)) return 0;
  ShowWindow(parent, SW_SHOW);
  RECT r;
  GetWindowRect(parent, &r);
  saver::ShowController show(parent);
  SetWindowPos(show.Window().Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  return RunMainForm(show.Window());
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int argc = __argc;
  char** argv = __argv;
  app::ReadOwnerWindow(argc, argv);
  app::RunMode mode = app::ModeFromArgument(argc > 1 ? argv[1] : nullptr);
  if (mode != app::RunMode::PasswordChange && app::RunCheck(app::kMutexName)) return 0;

  forms::Application& application = forms::Application::Get();
  application.Initialize(instance);
  application.SetTitle(app::kAppTitle);
  application.OnHelp = app::ShowHelp;

  switch (mode) {
    case app::RunMode::Settings: {
      TMainDialog dialog;
      return RunMainForm(dialog);
    }
    case app::RunMode::Saver: {
      saver::ShowController show;
      return RunMainForm(show.Window());
    }
    case app::RunMode::Preview:
      return RunPreview(argc, argv);
    case app::RunMode::PasswordChange:
      app::ChangePassword();
      return 0;
  }
  return 0;
}
