#include "saver/MainForm.h"

#include "app/RunMode.h"
#include "forms/Application.h"

TMainForm::TMainForm() : Form("TMainForm", "MainForm") {
  DialogKeys = false;
  Create();
}

void TMainForm::FillCreateParams(forms::CreateParams& p) {
  p.caption = "Glimora";
  p.style = WS_POPUP | WS_CLIPCHILDREN;
  p.exStyle = WS_EX_TOPMOST;
  p.x = 0;
  p.y = 0;
  p.width = GetSystemMetrics(SM_CXSCREEN);
  p.height = GetSystemMetrics(SM_CYSCREEN);
  p.parent = forms::Application::Get().Handle();
  if (app::PreviewParent) {
    p.parent = app::PreviewParent;
    p.style = (p.style & ~WS_POPUP) | WS_CHILD;
    p.exStyle = 0;
  }
}
