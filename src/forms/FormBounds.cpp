// A form's size, place, font and scale: design units to device pixels, and
// again on WM_DPICHANGED.
#include "forms/Control.h"
#include "forms/Form.h"

namespace forms {

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

void Form::SetDesignClientSize(DesignSize size) {
  designClient_ = size;
  SetClientSize(Scale(size.width), Scale(size.height));
}

DesignRect Form::Unscale(int left, int top, int width, int height) const {
  return {Unscaled(left, dpi_), Unscaled(top, dpi_), Unscaled(width, dpi_), Unscaled(height, dpi_)};
}

void Form::DpiChanged(int dpi, const RECT* suggested) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  // The system's rectangle first: it keeps the window on the monitor it went
  // to. The client size below only makes up for a frame of another rule.
  if (suggested)
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyFont();
  // In creation order: a container is in its place before what it holds.
  for (Control* c : controls_) c->ApplyDpi();
  SetClientSize(Scale(designClient_.width), Scale(designClient_.height));
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

void Form::SetFont(const std::string& face, Dip height, BYTE charset) {
  fontFace_ = face;
  fontHeight_ = height;
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

}  // namespace forms
