// Base of the controls that hold other controls (panel, group box, sheet,
// scroll box): a plain window of its own class that hands its children's
// notifications back to their control objects through Form::Reflect, so a
// button on a panel fires its OnClick like one on the form.
#pragma once
#include <string>

#include "forms/Control.h"

namespace forms {

class Container : public Control {
 public:
  using Control::Control;

 protected:
  // Creates the container window; className is registered on first use.
  void CreateContainer(const char* className, const std::string& caption, DWORD style,
                       DWORD exStyle, int left, int top, int width, int height, HWND parent);
  // Messages not taken by a child's control; the default paints and defers
  // to DefWindowProc.
  virtual LRESULT ContainerMessage(UINT msg, WPARAM wp, LPARAM lp);
  virtual void Paint(HDC /*dc*/, const RECT& /*client*/) {}
  HFONT FormFont() const;

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

}  // namespace forms
