// A form: a top-level (or, for the saver's preview, child) window that owns
// its controls and routes their notifications back to them, so a form only
// wires handlers such as `OKBtn.OnClick = [this] { OKBtnClick(); };`.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "forms/Dpi.h"
#include "forms/Gdi.h"

namespace forms {

class Control;
class ModalLoop;

enum class CloseAction { None, Hide, Free };

// Modal results, as buttons set them.
enum ModalResult : int { mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL };

struct CreateParams {
  std::string caption;
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = 0, height = 0;
  HWND parent = nullptr;  // owner for top-level forms, parent for WS_CHILD
};

class Form {
 public:
  // className is the window class name ("TMainForm", "TMainDialog", ...).
  Form(const char* className, const char* name);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND Handle() const { return hwnd_; }
  const std::string& Name() const { return name_; }
  const std::string& ClassName() const { return className_; }

  // The form whose window is hwnd or holds it.
  static Form* FromChildOrSelf(HWND hwnd);
  static Form* FromHandle(HWND hwnd);

  std::string Caption() const;
  void SetCaption(const std::string& caption);
  void SetClientSize(int width, int height);  // in device pixels
  // The client size in design units, as the form's table gives it: scaled to
  // the form's DPI now and again whenever the window moves to a monitor of
  // another scale (WM_DPICHANGED), when the font and every control follow.
  void SetDesignClientSize(DesignSize size);
  int ClientWidth() const;
  int ClientHeight() const;
  void SetBounds(int x, int y, int width, int height);  // outer rectangle, device pixels
  RECT BoundsRect() const;  // outer rectangle in parent/screen coordinates
  void CenterOnScreen();
  void Show();
  void Hide();

  // Shows the form modally: other windows of the program are disabled until
  // it closes. Returns the modal result.
  int ShowModal();
  bool IsModal() const { return modal_ != nullptr; }
  int ModalResultValue() const { return modalResult_; }
  // Sets the modal result; a modal form closes once its handler returns.
  void SetModalResult(int result) { modalResult_ = result; }
  // Asks the form to close (runs FormClose with its close action).
  void Close();

  // Font for the form's controls: face name and cell height.
  void SetFont(const std::string& face, Dip height, BYTE charset = SHIFTJIS_CHARSET);
  HFONT Font() const { return font_.get(); }

  // The DPI the form is laid out for: its monitor's when it was created or last moved.
  int Dpi() const { return dpi_; }
  int Scale(Dip length) const { return Scaled(length, dpi_); }
  // A place in device pixels at the form's DPI, in design units.
  DesignRect Unscale(int left, int top, int width, int height) const;

  bool KeyPreview = false;  // the form sees keys before the focused control
  bool DialogKeys = true;   // Tab, Enter (default button) and Escape (cancel button)
  int HelpContext = 0;

  // Called by the message loop for key messages when KeyPreview is set.
  // Returns true when the key was consumed.
  virtual bool PreviewKey(const MSG& msg);

  // Registration of controls (done by Control's constructor and destructor).
  int AddControl(Control* control);
  void RemoveControl(Control* control);
  void SetDefaultButton(Control* button) { defaultButton_ = button; }
  void SetCancelButton(Control* button) { cancelButton_ = button; }

  // Routes WM_COMMAND / WM_NOTIFY / WM_HSCROLL / WM_VSCROLL / WM_CTLCOLOR*
  // from a child window to the control that owns it. Containers (panels,
  // sheets) call this too. Returns true when a control took the message.
  static bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

 protected:
  // Creates the window: CreateParams, then CreateWindowEx. Derived forms
  // call Create() at the end of their constructor, then build controls.
  void Create();
  virtual void FillCreateParams(CreateParams& params);
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultHandler(UINT msg, WPARAM wp, LPARAM lp);

  // Events. FormClose may change the close action.
  virtual void FormClose(CloseAction& action);
  virtual void FormDestroy() {}
  virtual void FormPaint(HDC /*dc*/) {}
  virtual void FormActivate() {}
  // Background brush of the window class (dialogs: button face).
  virtual HBRUSH ClassBrush() const { return GetSysColorBrush(COLOR_BTNFACE); }

 private:
  friend class ModalLoop;  // runs FormClose and reads the modal result

  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void RegisterClassOnce();
  void CloseRequested();
  void ApplyFont();
  // New DPI: the window goes to the rectangle the system suggests (nullptr:
  // it stays where it is), then font, controls and client size follow.
  void DpiChanged(int dpi, const RECT* suggested);

  std::string className_;
  std::string name_;
  HWND hwnd_ = nullptr;
  std::vector<Control*> controls_;
  Control* defaultButton_ = nullptr;
  Control* cancelButton_ = nullptr;
  FontHandle font_;
  std::string fontFace_;
  Dip fontHeight_{0};
  BYTE fontCharset_ = SHIFTJIS_CHARSET;
  int dpi_ = kDesignDpi;
  DesignSize designClient_;  // 0 x 0: the form sizes itself in device pixels
  ModalLoop* modal_ = nullptr;  // while ShowModal runs
  int modalResult_ = mrNone;
  int nextId_ = 100;
  ATOM nameAtom_ = 0;
  HWND focusedChild_ = nullptr;  // restored when the form is activated again
};

}  // namespace forms
