#include "forms/TrackBar.h"

#include "forms/Application.h"

namespace forms {

void TrackBar::Create(const ControlRow& row) {
  DWORD style = row.CommonStyle(true) | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS;
  CreateHandle(TRACKBAR_CLASSA, "", style, 0, row.place,
               row.ParentHandle());
}

void TrackBar::SetRange(int min, int max) {
  SendMessageA(Handle(), TBM_SETRANGEMIN, FALSE, min);
  SendMessageA(Handle(), TBM_SETRANGEMAX, TRUE, max);
  reported_ = Position();
}

void TrackBar::SetLineSize(int step) { SendMessageA(Handle(), TBM_SETLINESIZE, 0, step); }
void TrackBar::SetPageSize(int step) { SendMessageA(Handle(), TBM_SETPAGESIZE, 0, step); }
void TrackBar::SetFrequency(int every) { SendMessageA(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(every), 0); }
int TrackBar::Min() const { return static_cast<int>(SendMessageA(Handle(), TBM_GETRANGEMIN, 0, 0)); }
int TrackBar::Max() const { return static_cast<int>(SendMessageA(Handle(), TBM_GETRANGEMAX, 0, 0)); }
int TrackBar::Position() const { return static_cast<int>(SendMessageA(Handle(), TBM_GETPOS, 0, 0)); }

void TrackBar::SetPosition(int position) {
  SendMessageA(Handle(), TBM_SETPOS, TRUE, position);
  reported_ = Position();
}

bool TrackBar::OnScroll(WORD /*code*/) {
  int now = Position();
  if (now != reported_) {
    reported_ = now;
    Raise(OnChange);
  }
  return true;
}

}  // namespace forms
