// Files dragged from Explorer and dropped on a control. The control's window
// is told to accept files, and WM_DROPFILES is caught in front of its own
// procedure (whatever subclass it already has), so each control that takes
// drops gets the dropped names, in the order Explorer hands them over.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace forms {

class Control;

class FileDrop {
 public:
  using Handler = std::function<void(const std::vector<std::string>& files)>;

  // The control must exist (its window made) and outlive this object's use.
  FileDrop(Control& control, Handler onDrop);
  ~FileDrop();
  FileDrop(const FileDrop&) = delete;
  FileDrop& operator=(const FileDrop&) = delete;

  // The full paths a drop handle holds (ANSI, as the rest of the program uses).
  static std::vector<std::string> Names(HDROP drop);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_;
  Handler onDrop_;
};

}  // namespace forms
