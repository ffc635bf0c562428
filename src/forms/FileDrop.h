// Files dragged from Explorer and dropped on controls. The window that holds
// the controls (a page, a panel) is told to accept files; the shell hands a
// drop on a control that does not accept files to that window, and the drop
// goes to the handler of the control under the drop point. The controls
// themselves are left as they are (no subclass of a list box or an edit).
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

  // area: the control that holds the targets; its window must exist and
  // outlive this object's use.
  explicit FileDrop(Control& area);
  ~FileDrop();
  FileDrop(const FileDrop&) = delete;
  FileDrop& operator=(const FileDrop&) = delete;

  // Drops on target (a child of the area) go to onDrop, with the names in
  // the order Explorer hands them over.
  void Add(Control& target, Handler onDrop);

  // The full paths a drop handle holds (ANSI, as the rest of the program uses).
  static std::vector<std::string> Names(HDROP drop);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Drop(HDROP drop);

  struct Target {
    HWND hwnd;
    Handler onDrop;
  };
  HWND hwnd_;
  std::vector<Target> targets_;
};

}  // namespace forms
