#include "forms/Control.h"

#include "forms/Application.h"

#include "forms/Form.h"
#include "forms/WideText.h"

namespace forms {

namespace {
const char kControlProp[] = "GlimoraControl";
const char kNameProp[] = "GlimoraName";
}  // namespace

Control::Control(Form& form, const char* name) : form_(form), name_(name) {
  id_ = form_.AddControl(this);
}

Control::~Control() {
  form_.RemoveControl(this);
  if (hwnd_ && IsWindow(hwnd_)) {
    RemovePropA(hwnd_, kControlProp);
    RemovePropA(hwnd_, kNameProp);
    DestroyWindow(hwnd_);
  }
  if (nameAtom_) GlobalDeleteAtom(nameAtom_);
}

Control* Control::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Control*>(GetPropA(hwnd, kControlProp)) : nullptr;
}

void Control::CreateHandle(const char* windowClass, const std::string& text, DWORD style,
                           DWORD exStyle, const DesignRect& place, HWND parent) {
  if (!parent) parent = form_.Handle();
  design_ = place;
  hwnd_ = CreateWindowExA(exStyle, windowClass, text.c_str(), style | WS_CHILD,
                          form_.Scale(place.left), form_.Scale(place.top), form_.Scale(place.width),
                          form_.Scale(place.height), parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                          GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) return;
  SetPropA(hwnd_, kControlProp, this);
  nameAtom_ = GlobalAddAtomA(name_.c_str());
  SetPropA(hwnd_, kNameProp, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(nameAtom_)));
  if (form_.Font()) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form_.Font()), FALSE);
}

std::string Control::Text() const {
  if (IsWindowUnicode(hwnd_)) return WideWindowText(hwnd_);
  // Room for two bytes a character, whichever way the control counts.
  int n = GetWindowTextLengthA(hwnd_) * 2 + 1;
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = GetWindowTextA(hwnd_, &s[0], n + 1);
  s.resize(static_cast<size_t>(n > 0 ? n : 0));
  return s;
}

void Control::SetText(const std::string& text) { SetWindowTextA(hwnd_, text.c_str()); }
bool Control::Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
void Control::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled ? TRUE : FALSE); }
bool Control::Visible() const { return (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
void Control::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }
void Control::SetFocus() { ::SetFocus(hwnd_); }
bool Control::Focused() const { return GetFocus() == hwnd_; }

void Control::SetBounds(int left, int top, int width, int height) {
  design_ = form_.Unscale(left, top, width, height);
  MoveWindow(hwnd_, left, top, width, height, TRUE);
}

void Control::ApplyDpi() {
  if (!hwnd_) return;
  MoveWindow(hwnd_, form_.Scale(design_.left), form_.Scale(design_.top), form_.Scale(design_.width),
             form_.Scale(design_.height), TRUE);
}

RECT Control::BoundsRect() const {
  RECT r = {};
  GetWindowRect(hwnd_, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool Control::Raise(const std::function<void()>& handler) {
  if (handler) Guarded(handler);
  return true;
}

}  // namespace forms
