#include "forms/FileDrop.h"

#include <shellapi.h>

#include "forms/Application.h"
#include "forms/Control.h"

namespace forms {

namespace {
// Kept on the window: the procedure in front of which Proc was put, and the
// FileDrop that handles the window's drops.
const char kNextProcProp[] = "GlimoraDropNextProc";
const char kOwnerProp[] = "GlimoraDropOwner";

LRESULT CallNext(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto next = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kNextProcProp));
  if (!next) return DefWindowProcA(hwnd, msg, wp, lp);
  return IsWindowUnicode(hwnd) ? CallWindowProcW(next, hwnd, msg, wp, lp)
                               : CallWindowProcA(next, hwnd, msg, wp, lp);
}
}  // namespace

FileDrop::FileDrop(Control& area) : hwnd_(area.Handle()) {
  if (!hwnd_) return;
  SetPropA(hwnd_, kOwnerProp, reinterpret_cast<HANDLE>(this));
  const bool unicode = IsWindowUnicode(hwnd_) != FALSE;
  const LONG_PTR proc = reinterpret_cast<LONG_PTR>(&FileDrop::Proc);
  SetPropA(hwnd_, kNextProcProp,
           reinterpret_cast<HANDLE>(unicode ? SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, proc)
                                            : SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, proc)));
  DragAcceptFiles(hwnd_, TRUE);
}

void FileDrop::Add(Control& target, Handler onDrop) { targets_.push_back({target.Handle(), std::move(onDrop)}); }

// The target whose window holds the drop point (the point is in the area's client).
void FileDrop::Drop(HDROP drop) {
  POINT at = {};
  DragQueryPoint(drop, &at);
  std::vector<std::string> names = Names(drop);
  ClientToScreen(hwnd_, &at);
  for (const Target& target : targets_) {
    RECT place;
    if (!GetWindowRect(target.hwnd, &place) || !PtInRect(&place, at) || !target.onDrop) continue;
    if (!IsWindowEnabled(target.hwnd)) return;  // a disabled control takes nothing, as the shell would refuse it
    Guarded([&] { target.onDrop(names); });
    return;
  }
}

// The window may already be gone (the form destroys its windows first):
// the procedure then stays as it was and forgets the owner at WM_NCDESTROY.
FileDrop::~FileDrop() {
  if (hwnd_ && IsWindow(hwnd_) && GetPropA(hwnd_, kOwnerProp) == reinterpret_cast<HANDLE>(this))
    RemovePropA(hwnd_, kOwnerProp);
}

std::vector<std::string> FileDrop::Names(HDROP drop) {
  std::vector<std::string> out;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::string name(length + 1, '\0');
    DragQueryFileA(drop, i, &name[0], length + 1);
    name.resize(length);
    if (!name.empty()) out.push_back(name);
  }
  return out;
}

LRESULT CALLBACK FileDrop::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DROPFILES) {
    HDROP drop = reinterpret_cast<HDROP>(wp);
    auto* owner = reinterpret_cast<FileDrop*>(GetPropA(hwnd, kOwnerProp));
    if (owner) owner->Drop(drop);
    DragFinish(drop);  // the handle is ours to free, whatever happened
    return 0;
  }
  const LRESULT result = CallNext(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    RemovePropA(hwnd, kNextProcProp);
    RemovePropA(hwnd, kOwnerProp);
  }
  return result;
}

}  // namespace forms
