// The application object: title, help, main form, message loop, modal
// loops, the general error box, and the one place where an error escaping an
// event handler is caught and shown.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

namespace forms {

class Form;

class Application {
 public:
  static Application& Get();

  // Registers the window classes and creates the hidden application window
  // (the one that stands for the program on the task bar).
  void Initialize(HINSTANCE instance);
  HINSTANCE Instance() const { return instance_; }
  HWND Handle() const { return handle_; }

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  // Shows the help of a context; set by the program (its help pages).
  std::function<void(int context)> OnHelp;

  Form* MainForm() const { return mainForm_; }
  void SetMainForm(Form* form) { mainForm_ = form; }

  // Runs the message loop until the main form is gone (or WM_QUIT arrives).
  void Run();
  // Handles one retrieved message: key preview, dialog keys, dispatch, and
  // the active-control-change notification. Used by Run and modal loops.
  void ProcessMessage(MSG& msg);
  // Handles every message that is waiting, then returns.
  void ProcessMessages();

  // The general error box: caption = title, error icon, OK, message + ".".
  void ShowError(const std::string& message);
  // Shows the error that is being handled; call only inside a catch block.
  void HandleException() noexcept;

  // Opens the help of a context (1 to 6, as the forms carry them) through OnHelp.
  void HelpContext(int context);

  // Called whenever the focused window of the application changes.
  std::function<void()> OnActiveControlChange;

 private:
  Application() = default;
  void CheckFocusChange();

  HINSTANCE instance_ = nullptr;
  HWND handle_ = nullptr;
  std::string title_;
  Form* mainForm_ = nullptr;
  HWND lastFocus_ = nullptr;
};

// Runs f; an error escaping it is shown in the general error box and
// f ends where it stood. No exception ever crosses a window procedure.
template <class F>
void Guarded(F&& f) noexcept {
  try {
    f();
  } catch (...) {
    Application::Get().HandleException();
  }
}

}  // namespace forms
