#include "forms/MediaPlayer.h"

#include "forms/Application.h"
#include "forms/Error.h"
#include "forms/Form.h"
#include "forms/WindowClass.h"

namespace forms {

constexpr char MediaPlayer::kWindowClass[];

MediaPlayer::MediaPlayer(Form& form, const char* name) : Control(form, name) {}

MediaPlayer::~MediaPlayer() { Close(); }

void MediaPlayer::Create() {
  RegisterWindowClass({kWindowClass, WndProc});
  CreateHandle(kWindowClass, fileName_, 0, 0, DesignRect{});
}

void MediaPlayer::SetFileName(const std::string& name) {
  fileName_ = name;
  if (Handle()) SetWindowTextA(Handle(), name.c_str());
}

std::string MediaPlayer::ErrorText(MCIERROR code, const char* unknown) {
  char text[256] = {};
  if (mciGetErrorStringA(code, text, sizeof text) && text[0]) return text;
  return unknown ? unknown : "MCI error " + std::to_string(code);
}

void MediaPlayer::Open() {
  Close();
  MCI_OPEN_PARMSA params = {};
  params.dwCallback = reinterpret_cast<DWORD_PTR>(Handle());
  params.lpstrElementName = fileName_.c_str();
  error_ = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT,
                           reinterpret_cast<DWORD_PTR>(&params));
  if (error_ != 0) throw Error(ErrorText(error_));
  deviceId_ = params.wDeviceID;
}

void MediaPlayer::Play() {
  if (!deviceId_) {
    error_ = MCIERR_INVALID_DEVICE_ID;
    return;
  }
  MCI_PLAY_PARMS params = {};
  DWORD flags = 0;
  if (Notify) {
    params.dwCallback = reinterpret_cast<DWORD_PTR>(Handle());
    flags |= MCI_NOTIFY;
  }
  error_ = mciSendCommandA(deviceId_, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&params));
  notifyPending_ = Notify && error_ == 0;
  RemovePropA(Handle(), kPausedProperty);
}

void MediaPlayer::Pause() {
  if (!StopWaiting(MCI_PAUSE)) return;
  SetPropA(Handle(), kPausedProperty, reinterpret_cast<HANDLE>(1));
}

void MediaPlayer::Close() {
  if (!StopWaiting(MCI_CLOSE)) return;
  deviceId_ = 0;
  RemovePropA(Handle(), kPausedProperty);
}

bool MediaPlayer::StopWaiting(UINT command) {
  if (!deviceId_) return false;
  if (notifyPending_) ++staleNotices_;
  notifyPending_ = false;
  MCI_GENERIC_PARMS params = {};
  error_ = mciSendCommandA(deviceId_, command, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&params));
  return true;
}

void MediaPlayer::Notified(WPARAM flags, LPARAM device) {
  if ((flags == MCI_NOTIFY_ABORTED || flags == MCI_NOTIFY_SUPERSEDED) && staleNotices_ > 0) {
    --staleNotices_;
    return;
  }
  // Only the open device's own notice answers the pending play.
  if (static_cast<MCIDEVICEID>(device) == deviceId_) notifyPending_ = false;
  switch (flags) {
    case MCI_NOTIFY_SUCCESSFUL: notifyValue_ = NotifyKind::Successful; break;
    case MCI_NOTIFY_SUPERSEDED: notifyValue_ = NotifyKind::Superseded; break;
    case MCI_NOTIFY_ABORTED: notifyValue_ = NotifyKind::Aborted; break;
    default: notifyValue_ = NotifyKind::Failure; break;
  }
  if (OnNotify) OnNotify();
}

LRESULT CALLBACK MediaPlayer::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == MM_MCINOTIFY) {
    if (auto* player = dynamic_cast<MediaPlayer*>(Control::FromHandle(hwnd))) {
      Guarded([&] { player->Notified(wp, lp); });
    }
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace forms
