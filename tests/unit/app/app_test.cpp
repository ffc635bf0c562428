// Start-up pieces: run-mode arguments and the general error box.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/RunMode.h"
#include "forms/Application.h"
#include "forms/Error.h"

using app::RunMode;

TEST(RunModeTest, OnlyTheExactFormsSelectAMode) {
  EXPECT_EQ(app::ModeFromArgument(nullptr), RunMode::Settings);
  for (const char* a : {"/c", "-c", "/C", "-C", "", "/c:1234", "c", "/cc", "/x", "-", "/S:1", " /s", "/s "})
    EXPECT_EQ(app::ModeFromArgument(a), RunMode::Settings) << a;
  for (const char* a : {"/s", "-s", "/S", "-S"}) EXPECT_EQ(app::ModeFromArgument(a), RunMode::Saver) << a;
  for (const char* a : {"/p", "-p", "/P", "-P"}) EXPECT_EQ(app::ModeFromArgument(a), RunMode::Preview) << a;
  for (const char* a : {"/a", "-a", "/A", "-A"})
    EXPECT_EQ(app::ModeFromArgument(a), RunMode::PasswordChange) << a;
}

TEST(RunModeTest, OwnerWindowFromTheSecondArgument) {
  char prog[] = "Glimora.scr", mode[] = "/a", number[] = "1234", word[] = "12ab", empty[] = "";
  char* withNumber[] = {prog, mode, number};
  app::ReadOwnerWindow(3, withNumber);
  EXPECT_EQ(app::OwnerWindow, reinterpret_cast<HWND>(1234));
  char* withWord[] = {prog, mode, word};
  app::ReadOwnerWindow(3, withWord);
  EXPECT_EQ(app::OwnerWindow, nullptr);
  char* withEmpty[] = {prog, mode, empty};
  app::ReadOwnerWindow(3, withEmpty);
  EXPECT_EQ(app::OwnerWindow, nullptr);
  char* alone[] = {prog, mode};
  app::ReadOwnerWindow(2, alone);
  EXPECT_EQ(app::OwnerWindow, nullptr);
}

TEST(RunModeTest, RunCheckKeepsLaterCopiesOut) {
  const char* name = "GlimoraRunCheckTest";
  EXPECT_FALSE(app::RunCheck(name));  // first: takes the mutex
  EXPECT_TRUE(app::RunCheck(name));   // a second copy is told to go
  EXPECT_TRUE(app::RunCheck(name));
}

namespace {

struct SeenBox {
  std::string caption, text;
  bool errorIcon = false;
};

// Waits for a message box of this process, reads it and presses its OK button.
SeenBox ReadAndDismissBox() {
  SeenBox seen;
  for (int i = 0; i < 200; ++i) {
    HWND box = FindWindowA("#32770", nullptr);
    if (box) {
      char buf[512] = {};
      GetWindowTextA(box, buf, sizeof buf);
      seen.caption = buf;
      GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);
      seen.text = buf;
      // The icon is a visible static control of style SS_ICON holding the system's error icon.
      for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(c) &&
            reinterpret_cast<HICON>(SendMessageA(c, STM_GETICON, 0, 0)) ==
                LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_ERROR)))
          seen.errorIcon = true;
      }
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      return seen;
    }
    Sleep(25);
  }
  return seen;
}

}  // namespace

TEST(GeneralErrorBox, ShowsTitleIconAndMessageWithAFullStop) {
  forms::Application& app = forms::Application::Get();
  app.Initialize(GetModuleHandleA(nullptr));
  app.SetTitle("Glimora");
  SeenBox seen;
  std::thread reader([&] { seen = ReadAndDismissBox(); });
  // The error ends the handler; the box is shown and the caller goes on.
  forms::Guarded([] { throw forms::Error("C:\\WINDOWS\\Glimora.ini に書き込めません"); });
  reader.join();
  EXPECT_EQ(seen.caption, "Glimora");
  EXPECT_EQ(seen.text, "C:\\WINDOWS\\Glimora.ini に書き込めません.");
  EXPECT_TRUE(seen.errorIcon);
}
