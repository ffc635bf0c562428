// The four ways Windows starts a screen saver, and the start-up routines
// that go with them.
#pragma once
#include <windows.h>
#include <string>

namespace app {

enum class RunMode { Settings, Saver, Preview, PasswordChange };

// Only the first argument counts, compared whole and case-sensitively
// ("/s", "-S" ...); anything else, or none, means settings.
RunMode ModeFromArgument(const char* first);

// The owner window of the password change, set at start-up.
extern HWND OwnerWindow;

// Second argument as a window handle; 0 when absent or not a number.
void ReadOwnerWindow(int argc, char** argv);
// Parses a decimal window handle; false when text is not a number.
bool ParseWindowHandle(const char* text, HWND& hwnd);

// True when another copy already holds the named mutex. On false the mutex
// stays held until the process ends.
bool RunCheck(const char* name);

// Calls PwdChangePasswordA("SCRSAVE", OwnerWindow, 0, 0) of the system's MPR.DLL.
void ChangePassword();

constexpr char kMutexName[] = "Quillet32RunCheck@Wren";
constexpr char kAppTitle[] = "Glimora";

}  // namespace app
