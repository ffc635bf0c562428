// Closing a form, and showing it modally.
#include <vector>

#include "forms/Application.h"
#include "forms/Form.h"

namespace forms {

namespace {
// Windows of this thread that a modal form disables, and enables again after.
struct DisabledWindows {
  HWND except;
  std::vector<HWND> list;
};

BOOL CALLBACK DisableOne(HWND hwnd, LPARAM lp) {
  auto* d = reinterpret_cast<DisabledWindows*>(lp);
  // Windows the modal form owns (the saver's on other monitors) belong to it.
  if (hwnd != d->except && GetWindow(hwnd, GW_OWNER) != d->except && IsWindowVisible(hwnd) &&
      IsWindowEnabled(hwnd)) {
    d->list.push_back(hwnd);
    EnableWindow(hwnd, FALSE);
  }
  return TRUE;
}
}  // namespace

void Form::FormClose(CloseAction& /*action*/) {}

void Form::CloseRequested() {
  if (modal_) {
    // The modal loop runs the close itself once it sees a result.
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;
  }
  CloseAction action = Application::Get().MainForm() == this ? CloseAction::Free : CloseAction::Hide;
  FormClose(action);
  if (action == CloseAction::Free) {
    DestroyWindow(hwnd_);
  } else if (action == CloseAction::Hide) {
    Hide();
  }
}

bool Form::CloseModal() {
  CloseAction action = CloseAction::Hide;
  Guarded([&] { FormClose(action); });
  if (action == CloseAction::None) {
    modalResult_ = mrNone;
    return false;
  }
  freeAfterModal_ = action == CloseAction::Free;
  return true;
}

void Form::Close() {
  if (hwnd_) SendMessageA(hwnd_, WM_CLOSE, 0, 0);
}

void Form::SetModalResult(int result) { modalResult_ = result; }

int Form::ShowModal() {
  modal_ = true;
  modalResult_ = mrNone;
  freeAfterModal_ = false;
  DisabledWindows disabled{hwnd_, {}};
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
  Show();
  SetForegroundWindow(hwnd_);
  MSG msg;
  while (hwnd_ && IsWindow(hwnd_)) {
    if (modalResult_ != mrNone && CloseModal()) break;
    BOOL r = GetMessageA(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Application::Get().ProcessMessage(msg);
  }
  // Enable the other windows before this one goes, so activation returns to them.
  for (HWND h : disabled.list) EnableWindow(h, TRUE);
  if (hwnd_ && IsWindow(hwnd_)) {
    if (freeAfterModal_) {
      DestroyWindow(hwnd_);
    } else {
      Hide();
    }
  }
  modal_ = false;
  return modalResult_ == mrNone ? mrCancel : modalResult_;
}

}  // namespace forms
