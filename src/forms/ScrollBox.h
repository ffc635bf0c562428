// Scroll box: a sunken container with scroll bars that scrolls the controls
// inside it. Call UpdateScrollRange after a child has changed its size.
#pragma once
#include "forms/Container.h"
#include "forms/ControlRow.h"

namespace forms {

class ScrollBox : public Container {
 public:
  ScrollBox(Form& form, const char* name) : Container(form, name, "TScrollBox") {}
  void Create(const ControlRow& row);

  // Ranges from the children's extent; a bar shows only when needed.
  void UpdateScrollRange();
  POINT ScrollPosition() const { return pos_; }
  void ScrollTo(int x, int y);

 protected:
  LRESULT ContainerMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Scroll(int bar, WORD code);
  POINT pos_ = {0, 0};
  bool updating_ = false;  // showing a bar resizes the client area (WM_SIZE)
};

}  // namespace forms
