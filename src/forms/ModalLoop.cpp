#include "forms/ModalLoop.h"

#include "forms/Application.h"
#include "forms/Form.h"

namespace forms {

namespace {
struct Disabling {
  HWND modal;
  std::vector<HWND>* list;
};

BOOL CALLBACK DisableOne(HWND hwnd, LPARAM lp) {
  auto* d = reinterpret_cast<Disabling*>(lp);
  // Windows the modal form owns (the saver's on other monitors) belong to it.
  if (hwnd != d->modal && GetWindow(hwnd, GW_OWNER) != d->modal && IsWindowVisible(hwnd) &&
      IsWindowEnabled(hwnd)) {
    d->list->push_back(hwnd);
    EnableWindow(hwnd, FALSE);
  }
  return TRUE;
}
}  // namespace

void ModalLoop::DisableOthers() {
  Disabling d{form_.Handle(), &disabled_};
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&d));
}

bool ModalLoop::CloseAccepted() {
  CloseAction action = CloseAction::Hide;
  Guarded([&] { form_.FormClose(action); });
  if (action == CloseAction::None) {
    form_.modalResult_ = mrNone;
    return false;
  }
  freeAfter_ = action == CloseAction::Free;
  return true;
}

int ModalLoop::Run() {
  form_.modal_ = this;
  form_.modalResult_ = mrNone;
  DisableOthers();
  form_.Show();
  SetForegroundWindow(form_.Handle());
  MSG msg;
  while (form_.Handle() && IsWindow(form_.Handle())) {
    if (form_.modalResult_ != mrNone && CloseAccepted()) break;
    BOOL r = GetMessageA(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Application::Get().ProcessMessage(msg);
  }
  // Enable the other windows before this one goes, so activation returns to them.
  for (HWND h : disabled_) EnableWindow(h, TRUE);
  if (form_.Handle() && IsWindow(form_.Handle())) {
    if (freeAfter_) {
      DestroyWindow(form_.Handle());
    } else {
      form_.Hide();
    }
  }
  form_.modal_ = nullptr;
  return form_.modalResult_ == mrNone ? mrCancel : form_.modalResult_;
}

}  // namespace forms
