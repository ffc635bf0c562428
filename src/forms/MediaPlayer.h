// Media-player control over the MCI command interface: open a file (the
// system picks the device from the extension), play it with a completion
// notice to the control's own hidden window, close it. Invisible; its
// window carries the component name, and its text is the file name it
// holds, so tools can find it and see what it plays (and, by the window
// property kPausedProperty, that it is paused).
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <functional>
#include <string>

#include "forms/Control.h"

namespace forms {

class MediaPlayer : public Control {
 public:
  enum class NotifyKind { None, Successful, Superseded, Aborted, Failure };

  MediaPlayer(Form& form, const char* name);
  ~MediaPlayer() override;
  // Creates the control's hidden window (child of the form).
  void Create();

  std::string FileName() const { return fileName_; }
  void SetFileName(const std::string& name);

  // MCI_OPEN with MCI_OPEN_ELEMENT and MCI_WAIT, not shareable; a failure
  // raises forms::Error with the system's text for the MCI error.
  void Open();
  // MCI_PLAY from the current position to the end. With Notify set the
  // device reports completion (MM_MCINOTIFY) to this control's window.
  // The MCI result is recorded in ErrorCode, not raised.
  void Play();
  // MCI_PAUSE with MCI_WAIT: Play() then goes on where it stopped. The
  // notice the paused play may leave behind is not handed on.
  void Pause();
  // MCI_CLOSE with MCI_WAIT, only when a device is open.
  void Close();

  bool IsOpen() const { return deviceId_ != 0; }
  MCIDEVICEID DeviceId() const { return deviceId_; }
  bool Notify = true;  // ask for a completion notice with the next Play
  MCIERROR ErrorCode() const { return error_; }
  std::string ErrorMessage() const { return ErrorText(error_); }
  NotifyKind NotifyValue() const { return notifyValue_; }

  // Raised for every MM_MCINOTIFY, whatever its kind, except the "aborted"
  // or "superseded" notice that closing a device with a pending play
  // leaves behind: that one belongs to a file already let go, and handing
  // it on would make a handler that starts the next file skip through
  // the whole list.
  std::function<void()> OnNotify;

  // The system's text for an MCI error; `unknown` (or "MCI error <code>")
  // where the system has none.
  static std::string ErrorText(MCIERROR code, const char* unknown = nullptr);
  static constexpr char kWindowClass[] = "TMediaPlayer";
  static constexpr char kPausedProperty[] = "Paused";

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Notified(WPARAM flags, LPARAM device);
  // Sends MCI_PAUSE or MCI_CLOSE with MCI_WAIT to the open device (false:
  // none is open); the notice of a pending play is then a stale one.
  bool StopWaiting(UINT command);

  std::string fileName_;
  MCIDEVICEID deviceId_ = 0;
  MCIERROR error_ = 0;
  bool notifyPending_ = false;
  int staleNotices_ = 0;
  NotifyKind notifyValue_ = NotifyKind::None;
};

}  // namespace forms
