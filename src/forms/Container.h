// Base of the controls that hold other controls (panel, group box, sheet,
// scroll box): a plain window of its own class that hands its children's
// notifications back to their control objects through Form::Reflect, so a
// button on a panel fires its OnClick like one on the form.
#pragma once
#include <string>

#include "forms/Control.h"
#include "forms/ControlRow.h"

namespace forms {

class Container : public Control {
 public:
  // windowClass is the container's own window class, registered on first use.
  Container(Form& form, const char* name, const char* windowClass)
      : Control(form, name), windowClass_(windowClass) {}
  // From a form's table row: the caption, the place, and the common options.
  void Create(const ControlRow& row);

 protected:
  void CreateContainer(const std::string& caption, DWORD style, DWORD exStyle, const DesignRect& place,
                       HWND parent);
  // Messages not taken by a child's control; the default paints and defers
  // to DefWindowProc.
  virtual LRESULT ContainerMessage(UINT msg, WPARAM wp, LPARAM lp);
  virtual void Paint(HDC /*dc*/, const RECT& /*client*/) {}
  HFONT FormFont() const;

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  const char* windowClass_;
};

}  // namespace forms
