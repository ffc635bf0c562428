// A form's caption, size, place, font and scale (96-DPI design units to
// device pixels, again on WM_DPICHANGED), and the list of its controls.
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
  AdjustForDpi(r, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)),
               static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)), dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame the window really has may differ from the one asked about (a
  // system that scales frames by its own rule): make up the difference.
  const int dx = width - ClientWidth(), dy = height - ClientHeight();
  if (dx == 0 && dy == 0) return;
  const RECT now = BoundsRect();
  SetWindowPos(hwnd_, nullptr, 0, 0, now.right - now.left + dx, now.bottom - now.top + dy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetDesignClientSize(int width, int height) {
  designClient_ = {width, height};
  SetClientSize(Scale(width), Scale(height));
}

void Form::DpiChanged(int dpi, const RECT* suggested) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  ApplyFont();
  // In creation order: a container is in its place before what it holds.
  for (Control* c : controls_) c->ApplyDpi();
  SetClientSize(Scale(designClient_.cx), Scale(designClient_.cy));
  if (suggested)
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd_, nullptr, TRUE);
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
  fontFace_ = face;
  fontHeight_ = pixelHeight;
  fontCharset_ = charset;
  ApplyFont();
}

void Form::ApplyFont() {
  if (fontFace_.empty()) return;
  LOGFONTA lf = {};
  lf.lfHeight = -Scale(fontHeight_);
  lf.lfCharSet = fontCharset_;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynA(lf.lfFaceName, fontFace_.c_str(), LF_FACESIZE);
  // The controls take the new font before the old one goes.
  FontHandle font(CreateFontIndirectA(&lf));
  for (Control* c : controls_)
    if (c->Handle()) SendMessageA(c->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  font_ = std::move(font);
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
