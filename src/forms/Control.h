// Base of the child controls. A control owns its child window, carries the
// component name (kept on the window as a global atom, so that tools and
// tests find controls by name) and receives the notifications that its
// parent reflects back to it.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>

#include "forms/Dpi.h"

namespace forms {

class Form;

class Control {
 public:
  Control(Form& form, const char* name);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Form& OwnerForm() const { return form_; }
  HWND Handle() const { return hwnd_; }
  const std::string& Name() const { return name_; }
  int Id() const { return id_; }

  static Control* FromHandle(HWND hwnd);

  std::string Text() const;
  void SetText(const std::string& text);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  bool Visible() const;
  void SetVisible(bool visible);
  void SetFocus();
  bool Focused() const;
  // Moves the control, in device pixels of its parent's client area. The
  // place is kept in design units too, so that a change of scale keeps it.
  void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const;  // in the parent's client coordinates
  // Moves the control to its design place at the form's DPI (after a change of scale).
  virtual void ApplyDpi();
  int HelpContext = 0;

  // Notifications routed back from the parent window. Return true when handled.
  virtual bool OnCommand(WORD /*code*/) { return false; }
  // Runs an event handler, if one is set, guarded; true (the notice is taken).
  static bool Raise(const std::function<void()>& handler);
  virtual bool OnNotify(NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
  virtual bool OnScroll(WORD /*code*/) { return false; }
  // WM_CTLCOLOR* for this control; return a brush to paint it, or nullptr.
  virtual HBRUSH OnColor(HDC /*dc*/) { return nullptr; }

 protected:
  // Creates the child window at its design place, scaled by the form's DPI;
  // parent defaults to the form. The form's font is applied.
  void CreateHandle(const char* windowClass, const std::string& text, DWORD style, DWORD exStyle,
                    const DesignRect& place, HWND parent = nullptr);

 private:
  Form& form_;
  std::string name_;
  HWND hwnd_ = nullptr;
  int id_ = 0;
  ATOM nameAtom_ = 0;
  DesignRect design_;
};

}  // namespace forms
