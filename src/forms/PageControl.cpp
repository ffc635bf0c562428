#include "forms/PageControl.h"

#include "forms/Application.h"

namespace forms {

void PageControl::Create(const ControlRow& row) {
  // Sheets are the tab control's children: clip them out of its painting.
  DWORD style = row.CommonStyle(true) | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  CreateHandle(WC_TABCONTROLA, "", style, WS_EX_CONTROLPARENT, row.place, row.ParentHandle());
}

void PageControl::AddSheet(TabSheet& sheet, const std::string& caption) {
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>(caption.c_str());
  SendMessageA(Handle(), TCM_INSERTITEMA, sheets_.size(), reinterpret_cast<LPARAM>(&item));
  sheets_.push_back(&sheet);
}

RECT PageControl::SheetPlace() const {
  RECT r;
  GetClientRect(Handle(), &r);
  SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

int PageControl::ActivePageIndex() const {
  return static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0));
}

TabSheet* PageControl::ActivePage() const {
  int i = ActivePageIndex();
  return i >= 0 && i < PageCount() ? sheets_[static_cast<size_t>(i)] : nullptr;
}

void PageControl::SetActivePageIndex(int index) {
  SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  ShowActive();
}

void PageControl::ShowActive() {
  TabSheet* active = ActivePage();
  // Show the new sheet before hiding the old, so nothing flickers through.
  if (active) SetWindowPos(active->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  for (TabSheet* s : sheets_)
    if (s != active) ShowWindow(s->Handle(), SW_HIDE);
}

bool PageControl::OnNotify(NMHDR* header, LRESULT& result) {
  if (header->code != TCN_SELCHANGE) return false;
  ShowActive();
  Raise(OnChange);
  result = 0;
  return true;
}

void TabSheet::Create(const ControlRow& row) {
  auto* pages = dynamic_cast<PageControl*>(row.container);
  if (!pages) return;
  index_ = pages->PageCount();
  pages->AddSheet(*this, row.caption);
  // The first sheet is the active one until the user or the form turns the page.
  DWORD style = index_ == 0 && !row.Has(opHidden) ? WS_VISIBLE : 0;
  CreateContainer(row.caption, style, 0, DesignRect{}, pages->Handle());
  ApplyDpi();
}

void TabSheet::ApplyDpi() {
  auto* pages = dynamic_cast<PageControl*>(Control::FromHandle(GetParent(Handle())));
  if (!pages) return;
  const RECT r = pages->SheetPlace();
  SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace forms
