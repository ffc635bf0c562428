// A form's caption, size, place and font, and its list of controls.
#include <algorithm>

#include "forms/Control.h"
#include "forms/Form.h"

namespace forms {

std::string Form::Caption() const {
  int n = GetWindowTextLengthA(hwnd_);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = GetWindowTextA(hwnd_, &s[0], n + 1);
  s.resize(static_cast<size_t>(n > 0 ? n : 0));
  return s;
}

void Form::SetCaption(const std::string& caption) { SetWindowTextA(hwnd_, caption.c_str()); }

void Form::SetClientSize(int width, int height) {
  RECT r = {0, 0, width, height};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Form::ClientWidth() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  return r.right;
}

int Form::ClientHeight() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  return r.bottom;
}

void Form::SetBounds(int x, int y, int width, int height) {
  SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Form::BoundsRect() const {
  RECT r = {};
  GetWindowRect(hwnd_, &r);
  return r;
}

void Form::CenterOnScreen() {
  RECT r = BoundsRect();
  int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show() { ShowWindow(hwnd_, SW_SHOW); UpdateWindow(hwnd_); }
void Form::Hide() { ShowWindow(hwnd_, SW_HIDE); }

void Form::SetFont(const std::string& face, int pixelHeight, BYTE charset) {
  LOGFONTA lf = {};
  lf.lfHeight = -pixelHeight;
  lf.lfCharSet = charset;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  font_.reset(CreateFontIndirectA(&lf));
  for (Control* c : controls_)
    if (c->Handle()) SendMessageA(c->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

bool Form::PreviewKey(const MSG& /*msg*/) { return false; }

int Form::AddControl(Control* control) {
  controls_.push_back(control);
  return nextId_++;
}

void Form::RemoveControl(Control* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  if (defaultButton_ == control) defaultButton_ = nullptr;
  if (cancelButton_ == control) cancelButton_ = nullptr;
}

}  // namespace forms
