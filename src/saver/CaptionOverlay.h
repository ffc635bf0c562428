// A caption laid over the window without entering the screen bitmap: its
// pixels are rendered once over what the screen shows under it, and drawn
// after every paint or flush that touches it. So the picture's erase, a
// kept background or a step to another picture never find it burnt in;
// taking it off is one flush of its rectangle.
#pragma once
#include <windows.h>

#include "forms/Bitmap.h"
#include "saver/Caption.h"

namespace saver {

class CaptionOverlay {
 public:
  // Renders the line over the pixels `screen` has under it.
  void Show(HDC screen, const CaptionLine& line);
  void Hide() { pixels_.Reset(); }
  bool Visible() const { return !pixels_.Empty(); }
  const RECT& Rect() const { return rect_; }
  // Draws it on target (a window DC) where it meets `dirty`.
  void DrawOver(HDC target, const RECT& dirty) const;

 private:
  forms::Bitmap pixels_;
  RECT rect_ = {};
};

}  // namespace saver
