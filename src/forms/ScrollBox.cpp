#include "forms/ScrollBox.h"

#include <algorithm>

namespace forms {

namespace {
const int kLineStep = 16;

BOOL CALLBACK AddExtent(HWND child, LPARAM lp) {
  auto* box = reinterpret_cast<std::pair<HWND, SIZE>*>(lp);
  // The child's own visibility: the box itself may be on a hidden sheet.
  if (GetParent(child) != box->first || !(GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE)) return TRUE;
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, box->first, reinterpret_cast<POINT*>(&r), 2);
  box->second.cx = std::max(box->second.cx, r.right);
  box->second.cy = std::max(box->second.cy, r.bottom);
  return TRUE;
}
}  // namespace

void ScrollBox::Create(const ControlRow& row) {
  CreateContainer(row.caption, row.CommonStyle(false) | WS_HSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE,
                  row.place, row.ParentHandle());
  UpdateScrollRange();
}

void ScrollBox::UpdateScrollRange() {
  if (updating_) return;
  updating_ = true;
  HWND h = Handle();
  std::pair<HWND, SIZE> box{h, {0, 0}};
  EnumChildWindows(h, AddExtent, reinterpret_cast<LPARAM>(&box));
  // Extents in content coordinates: add back what is scrolled away.
  int contentW = box.second.cx + pos_.x, contentH = box.second.cy + pos_.y;
  // Twice: showing one bar narrows the client area, which may call for the other.
  for (int pass = 0; pass < 2; ++pass) {
    RECT client;
    GetClientRect(h, &client);
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    si.nMax = contentW > 0 ? contentW - 1 : 0;
    si.nPage = static_cast<UINT>(client.right);
    si.nPos = pos_.x;
    SetScrollInfo(h, SB_HORZ, &si, TRUE);
    si.nMax = contentH > 0 ? contentH - 1 : 0;
    si.nPage = static_cast<UINT>(client.bottom);
    si.nPos = pos_.y;
    SetScrollInfo(h, SB_VERT, &si, TRUE);
  }
  updating_ = false;
  // Keep the position inside the new range.
  ScrollTo(GetScrollPos(h, SB_HORZ), GetScrollPos(h, SB_VERT));
}

void ScrollBox::ScrollTo(int x, int y) {
  HWND h = Handle();
  SetScrollPos(h, SB_HORZ, x, TRUE);
  SetScrollPos(h, SB_VERT, y, TRUE);
  x = GetScrollPos(h, SB_HORZ);  // clamped by the system
  y = GetScrollPos(h, SB_VERT);
  int dx = pos_.x - x, dy = pos_.y - y;
  if (dx == 0 && dy == 0) return;
  pos_ = {x, y};
  // The children are moved one by one (ScrollWindowEx leaves them where they
  // are while the box is hidden, e.g. on an inactive sheet).
  for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(HWND_DESKTOP, h, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(c, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(h, nullptr, TRUE);
}

void ScrollBox::Scroll(int bar, WORD code) {
  SCROLLINFO si = {sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(Handle(), bar, &si);
  int pos = si.nPos;
  int page = std::max(1, static_cast<int>(si.nPage));
  switch (code) {
    case SB_LINEUP: pos -= kLineStep; break;
    case SB_LINEDOWN: pos += kLineStep; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = si.nMin; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
  }
  pos = std::max(si.nMin, std::min(pos, si.nMax - page + 1));
  if (bar == SB_HORZ) ScrollTo(pos, pos_.y); else ScrollTo(pos_.x, pos);
}

LRESULT ScrollBox::ContainerMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (lp == 0) {  // our own bars; a child's arrive with its handle
        Scroll(msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wp));
        return 0;
      }
      break;
    case WM_MOUSEWHEEL:
      Scroll(SB_VERT, static_cast<short>(HIWORD(wp)) > 0 ? SB_LINEUP : SB_LINEDOWN);
      return 0;
    case WM_SIZE:
      UpdateScrollRange();
      return 0;
    default:
      break;
  }
  return Container::ContainerMessage(msg, wp, lp);
}

}  // namespace forms
