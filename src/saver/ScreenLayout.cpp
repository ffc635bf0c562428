#include "saver/ScreenLayout.h"

namespace saver {

ScreenLayout CurrentScreenLayout() {
  ScreenLayout l;
  l.Primary = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  l.Virtual = w > 0 && h > 0 ? RECT{x, y, x + w, y + h} : l.Primary;
  return l;
}

RECT PrimaryInClient(const ScreenLayout& l) {
  RECT r = l.Primary;
  OffsetRect(&r, -l.Virtual.left, -l.Virtual.top);
  return r;
}

}  // namespace saver
